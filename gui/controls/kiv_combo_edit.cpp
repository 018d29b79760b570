#include "gui/controls/kiv_combo_edit.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_drop_down_list.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_text_items.h"
#include "gui/core/kiv_window.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

namespace {
constexpr int32_t kArrowWidth = 20;
}  // namespace

KivComboEdit::~KivComboEdit() { delete list_; }

void KivComboEdit::LoadAttributes(const KivXMLItem& item) {
    KivControlValue::LoadAttributes(item);
    if (item.HasAttribute(KivString("items"))) items_ = KivTextItems::Split(item.GetAttribute(KivString("items")), u'|');
    if (item.HasAttribute(KivString("selected"))) {
        Select(static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(KivString("selected")))));
    }
}

void KivComboEdit::BindValue(std::unique_ptr<KivValue> value) {
    KivControlValue::BindValue(std::move(value));
    items_.clear();
}

int32_t KivComboEdit::GetItemCount() const {
    if (const KivValue* value = GetValue()) return std::max(0, value->GetStepCount());
    return static_cast<int32_t>(items_.size());
}

KivString KivComboEdit::GetItem(int32_t index) const {
    if (index < 0 || index >= GetItemCount()) return KivString();
    if (const KivValue* value = GetValue()) return value->GetStepText(index);
    return items_[static_cast<size_t>(index)];
}

int32_t KivComboEdit::GetSelected() const {
    const KivValue* value = GetValue();
    if (value == nullptr) return selected_;
    const int32_t count = GetItemCount();
    return count > 1 ? static_cast<int32_t>(std::lround(value->Get01() * (count - 1))) : 0;
}

void KivComboEdit::Select(int32_t index) {
    const int32_t count = GetItemCount();
    if (count == 0) return;
    index = std::clamp(index, 0, count - 1);
    if (KivValue* value = GetValue()) {
        value->SetStep(index);
    } else {
        selected_ = index;
    }
    Invalidate();
}

void KivComboEdit::SetItems(std::vector<KivString> items, int32_t selected) {
    items_ = std::move(items);
    selected_ = std::clamp(selected, 0, std::max(0, static_cast<int32_t>(items_.size()) - 1));
    Invalidate();
}

void KivComboEdit::Choose(int32_t index) {
    if (index < 0 || index == GetSelected()) return;
    Select(index);
    NoteUserChange();
}

void KivComboEdit::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    KivControlPainting::Face(drawer, box, IsOpen(), false);
    if (focused_) {
        drawer.RoundRectangle(box, KivStyleMetrics::kCornerRadius, Color(drawer, KivStyleColor::kHighlight),
                              KivDrawingMode::kAlphablend);
    }
    const KivRect text{box.left + KivStyleMetrics::kPadding, box.top, box.right - kArrowWidth, box.bottom};
    KivControlPainting::Text(drawer, KivStyleFont::kNormal, GetItem(GetSelected()), text,
                             KivTextAlignment::kVerticalCentre | KivTextAlignment::kEllipsis,
                             KivControlPainting::TextColor(drawer, IsEnabled()));
    PaintArrow(drawer, box);
}

void KivComboEdit::PaintArrow(KivDrawer& drawer, const KivRect& box) const {
    const double x = box.right - kArrowWidth / 2.0;
    const double y = box.top + box.Height() / 2.0;
    const KivPointF arrow[] = {{x - 4.0, y - 2.0}, {x + 4.0, y - 2.0}, {x, y + 2.5}};
    drawer.FillPolygonF(arrow, 3, Color(drawer, IsEnabled() ? KivStyleColor::kDimmedText : KivStyleColor::kDisabledText),
                        KivDrawingMode::kAlphablend);
}

KivPoint KivComboEdit::ComputeAutoSize(KivPoint available) {
    return KivPoint{std::max(KivStyleMetrics::kComboSize.x, available.x), KivStyleMetrics::kComboSize.y};
}

bool KivComboEdit::IsOpen() const { return list_ != nullptr && list_->IsVisible(); }

void KivComboEdit::Open() {
    KivWindow* window = GetWindow();
    if (window == nullptr || GetItemCount() == 0) return;
    std::vector<KivString> items;
    for (int32_t index = 0; index < GetItemCount(); ++index) items.push_back(GetItem(index));
    delete list_;
    list_ = new KivDropDownList(std::move(items), GetSelected(), [this](int32_t item) {
        Choose(item);
        Invalidate();
    });
    // Below the field, or above it when the window ends first.
    const KivRect field = GetWindowRect();
    const int32_t height = KivDropDownList::HeightFor(GetItemCount());
    const int32_t top = field.bottom + 2 + height <= window->GetPaintSize().y ? field.bottom + 2 : field.top - 2 - height;
    window->AddChild(list_);
    list_->SetBounds(KivRect{field.left, top, field.right, top + height - 1});
    window->SetFocus(list_);
    window->SetCapture(list_);
    Invalidate();
}

void KivComboEdit::OnMouseDown(KivPoint, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    if (KivWindow* window = GetWindow()) window->SetFocus(this);
    Open();
}

bool KivComboEdit::OnMouseWheel(KivPoint, int32_t delta, uint8_t) {
    if (!IsEnabled() || GetItemCount() == 0) return false;
    Choose(std::clamp(GetSelected() + (delta > 0 ? -1 : 1), 0, GetItemCount() - 1));
    return true;
}

bool KivComboEdit::OnKeyDown(uint32_t key, uint8_t) {
    if (!IsEnabled()) return false;
    switch (key) {
        case KivKeyCode::kUp: Choose(std::max(0, GetSelected() - 1)); return true;
        case KivKeyCode::kDown: Choose(std::min(GetItemCount() - 1, GetSelected() + 1)); return true;
        case KivKeyCode::kSpace:
        case KivKeyCode::kEnter: Open(); return true;
        default: return false;
    }
}

void KivComboEdit::OnFocus(bool gained) {
    focused_ = gained;
    Invalidate();
}
