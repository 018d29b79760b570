#pragma once
#include "gui/drawing/kiv_drawing_style.h"
#include "gui/style/kiv_style_color.h"
#include "gui/style/kiv_style_font.h"

// The house style: a dark, calm palette with one cool accent, so that levels, meters and the
// active control stand out and nothing else competes with the audio for attention.
class KivHouseStyle : public KivDrawingStyle {
public:
    // The one shared instance; it also installs the style's control spacing for layouts.
    static const KivHouseStyle& Instance();

    int32_t ColorCount() const override;
    KivColor Color(int32_t index) const override;
    KivString ColorName(int32_t index) const override;
    int32_t FontCount() const override;
    const KivFont* Font(int32_t index) const override;
    KivString FontName(int32_t index) const override;

    static KivColor DefaultColor(KivStyleColor color);
    static const KivFont& DefaultFont(KivStyleFont font);
};
