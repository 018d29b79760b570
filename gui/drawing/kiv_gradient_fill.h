#pragma once
#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_color.h"
#include "gui/drawing/kiv_drawing_mode.h"
#include "gui/drawing/kiv_gradient_direction.h"
#include "gui/drawing/kiv_rect.h"

// Linear shading of a rectangle: the first and last row (or column) take the two colours
// exactly, those between all four bytes interpolated and rounded, and each row or column
// is then filled like FillRectangle with its colour (so opaque gradients use the fast fill).
// The interpolation follows the whole rectangle, not the clipped part, so a clipped
// gradient matches the same gradient drawn whole.
namespace KivGradientFill {
KivColor ColorAt(KivColor first, KivColor second, int32_t step, int32_t steps) noexcept;
void Fill(KivBitmap& target, const KivRect& rect, KivColor first, KivColor second, KivGradientDirection direction,
          KivDrawingMode mode);
}  // namespace KivGradientFill
