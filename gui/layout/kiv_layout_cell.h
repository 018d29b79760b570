#pragma once
#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"

class KivControl;

// Puts `control` into its cell. In each direction a control that stretches (a ratio or
// sizing itself) fills the cell less its border on both sides; any other keeps
// `contentSize` and sits at the start (after its border), at the end (before its border) or
// in the centre of the cell, as its alignment says.
void KivLayoutPlaceInCell(KivControl& control, const KivRect& cell, KivPoint contentSize);
