#include "gui/controls/kiv_list_box.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_text_items.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

KivListBox::KivListBox() : OnSelect(this), OnDoubleClick(this) {}

void KivListBox::LoadAttributes(const KivXMLItem& item) {
    KivRowView::LoadAttributes(item);
    if (item.HasAttribute(KivString("items"))) SetItems(KivTextItems::Split(item.GetAttribute(KivString("items")), u'|'));
    if (item.HasAttribute(KivString("selected"))) {
        Select(static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(KivString("selected")))));
    }
}

void KivListBox::BindValue(std::unique_ptr<KivValue> value) {
    value_ = std::move(value);
    items_.clear();
    RowsChanged();
    const int32_t count = GetItemCount();
    if (count > 0) SelectRow(count > 1 ? static_cast<int32_t>(std::lround(value_->Get01() * (count - 1))) : 0);
}

int32_t KivListBox::GetItemCount() const {
    if (value_ != nullptr) return std::max(0, value_->GetStepCount());
    return static_cast<int32_t>(items_.size());
}

KivString KivListBox::GetItem(int32_t index) const {
    if (index < 0 || index >= GetItemCount()) return KivString();
    if (value_ != nullptr) return value_->GetStepText(index);
    return items_[static_cast<size_t>(index)];
}

void KivListBox::SetItems(std::vector<KivString> items, int32_t selected) {
    items_ = std::move(items);
    RowsChanged();
    SelectRow(selected);
}

void KivListBox::AddItem(const KivString& text) {
    items_.push_back(text);
    RowsChanged();
}

void KivListBox::RemoveItem(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(items_.size())) return;
    items_.erase(items_.begin() + index);
    const int32_t selected = GetSelected();
    RowsChanged();
    // The selection stays on the same item, or on its successor when it was the one removed.
    if (selected > index) SelectRow(selected - 1);
}

bool KivListBox::OnKeyDown(uint32_t key, uint8_t state) {
    if (key == KivKeyCode::kEnter && GetSelected() >= 0) {
        OnDoubleClick.Raise(KivOnItemParams<int32_t>{this, GetSelected()});
        return true;
    }
    return KivRowView::OnKeyDown(key, state);
}

void KivListBox::PaintRow(KivDrawer& drawer, int32_t row, const KivRect& rect, bool selected) {
    KivColor ink = KivControlPainting::TextColor(drawer, IsEnabled());
    if (selected) {
        const KivColor accent = Color(drawer, KivStyleColor::kHighlight);
        drawer.FillRoundRectangle(rect, 3, HasFocus() ? accent : accent.WithAlpha(90), KivDrawingMode::kAlphablend);
        if (HasFocus()) ink = Color(drawer, KivStyleColor::kHighlightText);
    }
    KivControlPainting::Text(drawer, KivStyleFont::kNormal, GetItem(row),
                             KivControlPainting::Inset(rect, KivStyleMetrics::kPadding - 2, 0),
                             KivTextAlignment::kVerticalCentre | KivTextAlignment::kEllipsis, ink);
}

void KivListBox::OnRowDoubleClick(int32_t row, int32_t) { OnDoubleClick.Raise(KivOnItemParams<int32_t>{this, row}); }

void KivListBox::OnSelectionChanged(int32_t row) {
    if (value_ != nullptr && row >= 0) value_->SetStep(row);
    OnSelect.Raise(KivOnItemParams<int32_t>{this, row});
}
