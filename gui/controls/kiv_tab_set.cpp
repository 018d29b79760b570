#include "gui/controls/kiv_tab_set.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_text_items.h"
#include "gui/core/kiv_window.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

namespace {
constexpr int32_t kTabPadding = 14;
constexpr int32_t kMinimalTab = 56;
constexpr int32_t kTabGap = 2;
}  // namespace

KivTabSet::KivTabSet() : OnSelect(this) {}

void KivTabSet::LoadAttributes(const KivXMLItem& item) {
    KivPanel::LoadAttributes(item);
    if (item.HasAttribute(KivString("tabs"))) SetTabCaptions(KivTextItems::Split(item.GetAttribute(KivString("tabs")), u'|'));
    if (item.HasAttribute(KivString("selected"))) {
        selected_ = std::max(0, static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(KivString("selected")))));
    }
}

void KivTabSet::BindValue(std::unique_ptr<KivValue> value) {
    value_ = std::move(value);
    const int32_t steps = value_->GetStepCount();
    selected_ = steps > 1 ? static_cast<int32_t>(std::lround(value_->Get01() * (steps - 1))) : 0;
    ShowSelectedOnly();
}

void KivTabSet::AddChild(KivControl* child) {
    KivPanel::AddChild(child);
    // Pages arrive one by one while a description loads; the chosen one may come later.
    child->SetVisible(GetChildCount() - 1 == selected_);
    if (!PageRect().IsEmpty()) child->SetBounds(PageRect());
}

void KivTabSet::RemoveChild(KivControl* child) {
    KivPanel::RemoveChild(child);
    if (selected_ >= GetChildCount()) selected_ = std::max(0, GetChildCount() - 1);
    ShowSelectedOnly();
}

void KivTabSet::Select(int32_t index) {
    if (GetPageCount() == 0) return;
    index = std::clamp(index, 0, GetPageCount() - 1);
    if (index == selected_) return;
    selected_ = index;
    if (value_ != nullptr) value_->SetStep(index);
    // The focus inside the page that goes away comes to the tabs, so the keys keep working.
    KivWindow* window = GetWindow();
    bool focusInside = false;
    for (const KivControl* c = window != nullptr ? window->GetFocus() : nullptr; c != nullptr; c = c->GetParent()) {
        focusInside = focusInside || c == this;
    }
    ShowSelectedOnly();
    if (focusInside && window->GetFocus() == nullptr) window->SetFocus(this);
    Invalidate();
    OnSelect.Raise(KivOnItemParams<int32_t>{this, index});
}

void KivTabSet::ShowSelectedOnly() {
    for (int32_t index = 0; index < GetChildCount(); ++index) GetChild(index)->SetVisible(index == selected_);
}

KivString KivTabSet::GetTabCaption(int32_t index) const {
    if (index >= 0 && index < static_cast<int32_t>(captions_.size())) return captions_[static_cast<size_t>(index)];
    const KivControl* page = GetPage(index);
    return page != nullptr ? page->GetText() : KivString();
}

void KivTabSet::SetTabCaptions(std::vector<KivString> captions) {
    captions_ = std::move(captions);
    Invalidate();
}

int32_t KivTabSet::TabWidth(int32_t index) const {
    const KivFont& font = KivHouseStyle::DefaultFont(KivStyleFont::kNormal);
    const auto text = static_cast<int32_t>(std::ceil(font.MeasureText(GetTabCaption(index))));
    return std::max(kMinimalTab, text + 2 * kTabPadding);
}

KivRect KivTabSet::TabRect(int32_t index) const {
    if (!ShowsTabs() || index < 0 || index >= GetPageCount()) return KivRect{0, 0, -1, -1};
    int32_t left = KivStyleMetrics::kPadding;
    for (int32_t before = 0; before < index; ++before) left += TabWidth(before) + kTabGap;
    return KivRect{left, 0, left + TabWidth(index) - 1, kTabHeight - 1};
}

int32_t KivTabSet::TabAt(KivPoint point) const {
    for (int32_t index = 0; index < GetPageCount(); ++index) {
        if (TabRect(index).Contains(point.x, point.y)) return index;
    }
    return -1;
}

KivRect KivTabSet::PageRect() const {
    const KivRect client = GetClientRect();
    if (!ShowsTabs()) return client;
    return KivControlPainting::Inset(KivRect{client.left, client.top + kTabHeight, client.right, client.bottom},
                                     KivStyleMetrics::kPadding, KivStyleMetrics::kPadding);
}

void KivTabSet::Arrange() {
    const KivRect page = PageRect();
    for (int32_t index = 0; index < GetChildCount(); ++index) {
        KivControl* child = GetChild(index);
        child->SetBounds(page);
        // A page whose size stayed still needs its own layouts run once.
        child->Arrange();
    }
}

void KivTabSet::Paint(KivDrawer& drawer, const KivRect&) {
    if (!ShowsTabs()) return;
    const KivRect box = GetWindowRect();
    const KivRect ground{box.left, box.top + kTabHeight - 1, box.right, box.bottom};
    const int32_t radius = KivStyleMetrics::kCornerRadius + 2;
    drawer.FillRoundRectangle(ground, radius, Color(drawer, KivStyleColor::kPanelBackground), KivDrawingMode::kAlphablend);
    drawer.RoundRectangle(ground, radius, Color(drawer, KivStyleColor::kFrame), KivDrawingMode::kAlphablend);
    for (int32_t index = 0; index < GetPageCount(); ++index) {
        const KivRect tab = TabRect(index).Offset(box.left, box.top);
        const bool selected = index == selected_;
        KivColor ink = Color(drawer, KivStyleColor::kDimmedText);
        if (selected) {
            // The shown tab opens into the page below: same ground, no frame line between.
            drawer.FillRoundRectangle(KivRect{tab.left, tab.top, tab.right, tab.bottom + radius}, radius,
                                      Color(drawer, KivStyleColor::kPanelBackground), KivDrawingMode::kAlphablend);
            drawer.RoundRectangle(KivRect{tab.left, tab.top, tab.right, tab.bottom + radius}, radius,
                                  Color(drawer, KivStyleColor::kFrame), KivDrawingMode::kAlphablend);
            drawer.FillRectangle(KivRect{tab.left + 1, tab.bottom, tab.right - 1, tab.bottom + radius},
                                 Color(drawer, KivStyleColor::kPanelBackground), KivDrawingMode::kCopy);
            drawer.FillRectangle(KivRect{tab.left + 4, tab.top + 1, tab.right - 4, tab.top + 2},
                                 Color(drawer, KivStyleColor::kHighlight), KivDrawingMode::kAlphablend);
            ink = KivControlPainting::TextColor(drawer, IsEnabled());
        } else {
            const KivRect face{tab.left, tab.top + 3, tab.right, tab.bottom - 2};
            const KivStyleColor ground = index == hover_ ? KivStyleColor::kButtonFaceHover : KivStyleColor::kTitleBackground;
            drawer.FillRoundRectangle(face, radius - 2, Color(drawer, ground), KivDrawingMode::kAlphablend);
            if (index == hover_) ink = KivControlPainting::TextColor(drawer, IsEnabled());
        }
        if (selected && focused_) ink = Color(drawer, KivStyleColor::kHighlight);
        KivControlPainting::Text(drawer, KivStyleFont::kNormal, GetTabCaption(index), tab.Offset(0, selected ? 1 : 0),
                                 KivTextAlignment::kCentred | KivTextAlignment::kEllipsis, ink);
    }
}

void KivTabSet::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    const int32_t tab = TabAt(point);
    if (tab < 0) return;
    if (KivWindow* window = GetWindow()) window->SetFocus(this);
    Select(tab);
}

void KivTabSet::OnMouseMove(KivPoint point, uint8_t) {
    const int32_t tab = TabAt(point);
    if (tab == hover_) return;
    hover_ = tab;
    Invalidate();
}

void KivTabSet::OnMouseLeave() {
    if (hover_ < 0) return;
    hover_ = -1;
    Invalidate();
}

bool KivTabSet::OnKeyDown(uint32_t key, uint8_t state) {
    if (!IsEnabled() || GetPageCount() == 0) return false;
    const int32_t count = GetPageCount();
    if (key == KivKeyCode::kTab && (state & KivInputState::kControl) != 0) {
        const int32_t step = (state & KivInputState::kShift) != 0 ? count - 1 : 1;
        Select((selected_ + step) % count);
        return true;
    }
    const KivWindow* window = GetWindow();
    if (window == nullptr || window->GetFocus() != this) return false;
    switch (key) {
        case KivKeyCode::kLeft: Select(selected_ - 1); return true;
        case KivKeyCode::kRight: Select(selected_ + 1); return true;
        case KivKeyCode::kHome: Select(0); return true;
        case KivKeyCode::kEnd: Select(count - 1); return true;
        default: return false;
    }
}

void KivTabSet::OnFocus(bool gained) {
    focused_ = gained;
    Invalidate();
}
