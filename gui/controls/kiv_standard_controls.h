#pragma once
#include "gui/core/kiv_control.h"

// Puts the standard controls' own classes in place of the loader's stand-ins, and adds the
// "barmeter" element for level meters.
void KivRegisterStandardControls(KivControl::KivXmlLoader& loader);
