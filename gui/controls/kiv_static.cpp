#include "gui/controls/kiv_static.h"

#include <cmath>

#include "gui/controls/kiv_control_painting.h"
#include "gui/loader/kiv_gui_enumerations.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

KivString KivStatic::ShownText() const { return GetContent().IsEmpty() ? GetText() : GetContent(); }

void KivStatic::Paint(KivDrawer& drawer, const KivRect&) {
    const bool centred = GetCaptionType() == static_cast<int32_t>(KivCaptionType::kInside);
    const uint32_t flags = KivTextAlignment::kVerticalCentre | KivTextAlignment::kEllipsis |
                           (centred ? KivTextAlignment::kHorizontalCentre : KivTextAlignment::kLeft);
    KivControlPainting::Text(drawer, KivStyleFont::kNormal, ShownText(), GetWindowRect(), flags,
                             KivControlPainting::TextColor(drawer, IsEnabled()));
}

KivPoint KivStatic::ComputeAutoSize(KivPoint) {
    const KivFont& font = KivHouseStyle::DefaultFont(KivStyleFont::kNormal);
    const auto width = static_cast<int32_t>(std::ceil(font.MeasureText(ShownText())));
    return KivPoint{width + 2, std::max(KivStyleMetrics::kStaticSize.y, font.LineHeight())};
}
