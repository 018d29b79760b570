#pragma once
#include "gui/drawing/kiv_drawer.h"
#include "gui/style/kiv_style_color.h"
#include "gui/style/kiv_style_font.h"

class KivFont;

// How controls reach the style while painting: the drawer's style when it has the entry,
// else the house style, so a control paints sensibly with any drawer.
namespace KivStyleAccess {
KivColor Color(const KivDrawer& drawer, KivStyleColor color);
const KivFont& Font(const KivDrawer& drawer, KivStyleFont font);
}  // namespace KivStyleAccess
