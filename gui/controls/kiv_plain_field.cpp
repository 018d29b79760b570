#include "gui/controls/kiv_plain_field.h"

#include <algorithm>

#include "gui/controls/kiv_control_painting.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_text_alignment.h"

void KivPlainField::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    KivControlPainting::Field(drawer, box, false);
    KivControlPainting::Text(drawer, KivStyleFont::kSmall, GetText(), KivControlPainting::Inset(box, 4, 2),
                             KivTextAlignment::kCentred | KivTextAlignment::kEllipsis,
                             KivStyleAccess::Color(drawer, KivStyleColor::kDimmedText));
}

KivPoint KivPlainField::ComputeAutoSize(KivPoint available) {
    return KivPoint{std::max(available.x, KivStyleMetrics::kEditSize.x), KivStyleMetrics::kEditSize.y};
}
