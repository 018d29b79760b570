#include "gui/controls/kiv_check_box.h"

#include <cmath>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/core/kiv_window.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

KivCheckBox::KivCheckBox() : OnClick(this) {}

void KivCheckBox::LoadAttributes(const KivXMLItem& item) {
    KivControlContent::LoadAttributes(item);
    if (item.HasAttribute(KivString("checked"))) checked_ = KivNumber::TextToInteger(item.GetAttribute(KivString("checked"))) != 0;
}

void KivCheckBox::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect area = GetWindowRect();
    const int32_t size = KivStyleMetrics::kCheckBoxSize;
    const int32_t top = area.top + (area.Height() - size) / 2;
    const KivRect box{area.left, top, area.left + size - 1, top + size - 1};
    if (checked_) {
        drawer.FillRoundRectangle(box, 3, Color(drawer, IsEnabled() ? KivStyleColor::kHighlight : KivStyleColor::kFrame),
                                  KivDrawingMode::kAlphablend);
        PaintMark(drawer, box);
    } else {
        drawer.FillRoundRectangle(box, 3, Color(drawer, KivStyleColor::kEditorBackground), KivDrawingMode::kAlphablend);
        drawer.RoundRectangle(box, 3, Color(drawer, focused_ ? KivStyleColor::kHighlight : KivStyleColor::kFrame),
                              KivDrawingMode::kAlphablend);
    }
    const KivRect text{box.right + 1 + KivStyleMetrics::kCaptionGap, area.top, area.right, area.bottom};
    KivControlPainting::Text(drawer, KivStyleFont::kNormal, GetText(), text,
                             KivTextAlignment::kVerticalCentre | KivTextAlignment::kEllipsis,
                             KivControlPainting::TextColor(drawer, IsEnabled()));
}

void KivCheckBox::PaintMark(KivDrawer& drawer, const KivRect& box) const {
    const double x = box.left;
    const double y = box.top;
    const KivPointF mark[] = {{x + 3.0, y + 6.5}, {x + 5.8, y + 9.5}, {x + 10.5, y + 3.5}};
    const KivColor ink = Color(drawer, KivStyleColor::kHighlightText);
    // Two strokes a pixel and a half wide, drawn as thin polygons so the tick has weight.
    for (int32_t index = 0; index < 2; ++index) {
        const KivPointF from = mark[index];
        const KivPointF to = mark[index + 1];
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        const double length = std::sqrt(dx * dx + dy * dy);
        const double nx = -dy / length * 0.85;
        const double ny = dx / length * 0.85;
        const KivPointF stroke[] = {{from.x + nx, from.y + ny}, {to.x + nx, to.y + ny}, {to.x - nx, to.y - ny},
                                    {from.x - nx, from.y - ny}};
        drawer.FillPolygonF(stroke, 4, ink, KivDrawingMode::kAlphablend);
    }
}

KivPoint KivCheckBox::ComputeAutoSize(KivPoint) {
    const KivFont& font = KivHouseStyle::DefaultFont(KivStyleFont::kNormal);
    const auto text = static_cast<int32_t>(std::ceil(font.MeasureText(GetText())));
    return KivPoint{KivStyleMetrics::kCheckBoxSize + KivStyleMetrics::kCaptionGap + text + 2,
                    KivStyleMetrics::kCheckBoxPreferred.y};
}

void KivCheckBox::OnMouseDown(KivPoint, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    if (KivWindow* window = GetWindow()) window->SetFocus(this);
    Toggle();
}

bool KivCheckBox::OnKeyDown(uint32_t key, uint8_t) {
    if (key != KivKeyCode::kSpace) return false;
    if (IsEnabled()) Toggle();
    return true;
}

void KivCheckBox::OnFocus(bool gained) {
    focused_ = gained;
    Invalidate();
}

void KivCheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Invalidate();
}

void KivCheckBox::Toggle() {
    SetChecked(!checked_);
    OnClick.Raise(KivOnClickParams{this});
}
