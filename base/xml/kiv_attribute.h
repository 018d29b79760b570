#pragma once
#include "base/kiv_string.h"

// One attribute of an XML element; the value holds the decoded text, never entities.
struct KivAttribute {
    KivString name;
    KivString value;
};
