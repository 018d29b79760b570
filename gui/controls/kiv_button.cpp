#include "gui/controls/kiv_button.h"

#include <algorithm>
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

KivButton::KivButton() : OnClick(this) {}

void KivButton::LoadAttributes(const KivXMLItem& item) {
    KivControlContent::LoadAttributes(item);
    if (item.HasAttribute(KivString("toggle"))) toggle_ = KivNumber::TextToInteger(item.GetAttribute(KivString("toggle"))) != 0;
    if (item.HasAttribute(KivString("checked"))) checked_ = KivNumber::TextToInteger(item.GetAttribute(KivString("checked"))) != 0;
}

void KivButton::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    const bool down = ShowsDown();
    KivControlPainting::Face(drawer, box, down, hover_ && IsEnabled());
    KivColor text = KivControlPainting::TextColor(drawer, IsEnabled());
    if (checked_) {
        // An engaged toggle is marked by an accent bar and accent text.
        const KivRect bar{box.left + 6, box.bottom - 3, box.right - 6, box.bottom - 2};
        drawer.FillRectangle(bar, Color(drawer, KivStyleColor::kHighlight), KivDrawingMode::kAlphablend);
        if (IsEnabled()) text = Color(drawer, KivStyleColor::kHighlight);
    }
    if (focused_) {
        drawer.RoundRectangle(KivControlPainting::Inset(box, 1, 1), KivStyleMetrics::kCornerRadius - 1,
                              Color(drawer, KivStyleColor::kHighlight).WithAlpha(140), KivDrawingMode::kAlphablend);
    }
    const KivRect area = (pressed_ && hover_) ? box.Offset(0, 1) : box;
    KivControlPainting::Text(drawer, KivStyleFont::kNormal, GetText(), KivControlPainting::Inset(area, 4, 0),
                             KivTextAlignment::kCentred | KivTextAlignment::kEllipsis, text);
}

KivPoint KivButton::ComputeAutoSize(KivPoint) {
    const KivFont& font = KivHouseStyle::DefaultFont(KivStyleFont::kNormal);
    const auto width = static_cast<int32_t>(std::ceil(font.MeasureText(GetText()))) + 2 * KivStyleMetrics::kPadding + 8;
    return KivPoint{std::max(width, KivStyleMetrics::kButtonSize.x), KivStyleMetrics::kButtonSize.y};
}

void KivButton::OnMouseDown(KivPoint, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    pressed_ = true;
    hover_ = true;
    if (KivWindow* window = GetWindow()) {
        window->SetFocus(this);
        window->SetCapture(this);
    }
    Invalidate();
}

void KivButton::OnMouseUp(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !pressed_) return;
    pressed_ = false;
    if (KivWindow* window = GetWindow()) window->SetCapture(nullptr);
    Invalidate();
    if (GetClientRect().Contains(point.x, point.y)) Click();
}

void KivButton::OnMouseMove(KivPoint point, uint8_t) {
    if (pressed_) SetHover(GetClientRect().Contains(point.x, point.y));
}

void KivButton::OnMouseEnter() { SetHover(true); }

void KivButton::OnMouseLeave() {
    if (!pressed_) SetHover(false);
}

bool KivButton::OnKeyDown(uint32_t key, uint8_t) {
    if (key != KivKeyCode::kSpace && key != KivKeyCode::kEnter) return false;
    if (IsEnabled()) Click();
    return true;
}

void KivButton::OnFocus(bool gained) {
    focused_ = gained;
    Invalidate();
}

void KivButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Invalidate();
}

void KivButton::Click() {
    if (toggle_) SetChecked(!checked_);
    OnClick.Raise(KivOnClickParams{this});
}

void KivButton::SetHover(bool hover) {
    if (hover == hover_) return;
    hover_ = hover;
    Invalidate();
}
