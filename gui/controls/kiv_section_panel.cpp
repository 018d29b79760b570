#include "gui/controls/kiv_section_panel.h"

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/layout/kiv_layouts.h"
#include "gui/loader/kiv_gui_enumerations.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

void KivSectionPanel::LoadAttributes(const KivXMLItem& item) {
    KivContainer::LoadAttributes(item);
    if (item.HasAttribute(KivString("controltype"))) {
        const auto type = KivNumber::TextToInteger(item.GetAttribute(KivString("controltype")));
        framed_ = type == static_cast<int32_t>(KivControlType::kFramed);
    }
}

void KivSectionPanel::SetText(const KivString& text) {
    if (text == caption_) return;
    caption_ = text;
    Invalidate();
}

void KivSectionPanel::Paint(KivDrawer& drawer, const KivRect&) {
    if (!PaintsSection()) return;
    const KivRect box = GetWindowRect();
    const int32_t radius = KivStyleMetrics::kCornerRadius + 2;
    drawer.FillRoundRectangle(box, radius, Color(drawer, KivStyleColor::kPanelBackground), KivDrawingMode::kAlphablend);
    if (!caption_.IsEmpty()) {
        const KivRect title{box.left + 1, box.top + 1, box.right - 1, box.top + KivStyleMetrics::kTitleHeight - 1};
        drawer.FillRectangle(KivRect{title.left, title.bottom, title.right, title.bottom},
                             Color(drawer, KivStyleColor::kFrame), KivDrawingMode::kAlphablend);
        const KivRect text = KivControlPainting::Inset(title, KivStyleMetrics::kPadding, 0);
        KivControlPainting::Text(drawer, KivStyleFont::kTitle, caption_, text,
                                 KivTextAlignment::kVerticalCentre | KivTextAlignment::kEllipsis,
                                 Color(drawer, KivStyleColor::kDimmedText));
    }
    drawer.RoundRectangle(box, radius, Color(drawer, KivStyleColor::kFrame), KivDrawingMode::kAlphablend);
}

void KivSectionPanel::Arrange() { KivLayouts::Arrange(*this, ContentRect()); }

KivRect KivSectionPanel::ContentRect() const {
    if (!PaintsSection()) return GetClientRect();
    KivRect content = KivControlPainting::Inset(GetClientRect(), KivStyleMetrics::kPadding, KivStyleMetrics::kPadding);
    if (!caption_.IsEmpty()) content.top += KivStyleMetrics::kTitleHeight;
    return content;
}
