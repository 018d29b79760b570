#pragma once
#include "gui/drawing/kiv_rect.h"

// What remains of a free rectangle that a layout filled: nothing, at its top-left corner.
inline void KivLayoutUseUp(KivRect& free) { free = KivRect{free.left, free.top, free.left - 1, free.top - 1}; }
