#include "gui/style/kiv_style_access.h"

#include "gui/style/kiv_house_style.h"

KivColor KivStyleAccess::Color(const KivDrawer& drawer, KivStyleColor color) {
    const auto index = static_cast<int32_t>(color);
    if (index < drawer.GetStyleColorCount()) return drawer.GetStyleColor(index);
    return KivHouseStyle::DefaultColor(color);
}

const KivFont& KivStyleAccess::Font(const KivDrawer& drawer, KivStyleFont font) {
    const auto index = static_cast<int32_t>(font);
    if (index < drawer.GetStyleFontCount()) {
        if (const KivFont* found = drawer.GetStyleFont(index)) return *found;
    }
    return KivHouseStyle::DefaultFont(font);
}
