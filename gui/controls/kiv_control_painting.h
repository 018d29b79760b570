#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/style/kiv_style_color.h"
#include "gui/style/kiv_style_font.h"

// Pieces of painting the standard controls share, so that fields, faces and text look the
// same in every control. Rectangles are in window coordinates.
namespace KivControlPainting {
// One line of text in a style font and colour.
void Text(KivDrawer& drawer, KivStyleFont font, const KivString& text, const KivRect& rect, uint32_t flags,
          KivColor colour);
// The sunken, dark ground of anything that shows or edits a value; the frame turns to the
// accent while the control has the focus.
void Field(KivDrawer& drawer, const KivRect& rect, bool focused);
// The raised face of a button-like control.
void Face(KivDrawer& drawer, const KivRect& rect, bool pressed, bool hover);
// A ring segment between two radii from `fromDegrees` to `toDegrees`, clockwise on the
// screen with 0 pointing right.
void Arc(KivDrawer& drawer, KivPointF centre, double outer, double inner, double fromDegrees, double toDegrees,
         KivColor colour);
// The colour for text of a control that may be disabled.
KivColor TextColor(const KivDrawer& drawer, bool enabled);
// `rect` shrunk by `dx` and `dy` on every side.
KivRect Inset(const KivRect& rect, int32_t dx, int32_t dy);
// The colour `amount` (0..255) of the way from `from` to `to`.
KivColor Mix(KivColor from, KivColor to, int32_t amount);
}  // namespace KivControlPainting
