#include "gui/controls/kiv_row_view.h"

#include <algorithm>

#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/core/kiv_window.h"
#include "gui/style/kiv_style_metrics.h"

using KivStyleMetrics::kListRowHeight;

KivRowView::KivRowView() : scrollBar_(new KivScrollBar()) {
    scrollBar_->SetVertical(true);
    scrollBar_->SetVisible(false);
    AddChild(scrollBar_);
    scrollBar_->OnScroll.AddHandler(this, &KivRowView::OnScrolled);
}

KivRect KivRowView::Field() const {
    KivRect field = KivControlPainting::Inset(GetClientRect(), kInset, kInset);
    if (scrollBar_->IsVisible()) field.right = scrollBar_->GetBounds().left - 2;
    return field;
}

int32_t KivRowView::GetVisibleRowCount() const {
    const KivRect field = KivControlPainting::Inset(GetClientRect(), kInset, kInset);
    return std::max(1, field.Height() / kListRowHeight);
}

KivRect KivRowView::RowRect(int32_t row) const {
    const KivRect field = Field();
    const int32_t top = field.top + (row - GetTopRow()) * kListRowHeight;
    return KivRect{field.left, top, field.right, top + kListRowHeight - 1};
}

int32_t KivRowView::RowAt(KivPoint point) const {
    const KivRect field = Field();
    if (point.x < field.left || point.x > field.right || point.y < field.top) return -1;
    const int32_t row = GetTopRow() + (point.y - field.top) / kListRowHeight;
    return row < GetRowCount() && (point.y - field.top) / kListRowHeight < GetVisibleRowCount() ? row : -1;
}

void KivRowView::Arrange() {
    const KivRect client = GetClientRect();
    scrollBar_->SetBounds(KivRect{client.right - kInset - KivScrollBar::kThickness + 1, client.top + kInset,
                                  client.right - kInset, client.bottom - kInset});
    RowsChanged();
    EnsureVisible(selected_);
}

void KivRowView::RowsChanged() {
    const int32_t count = GetRowCount();
    scrollBar_->SetRange(count, GetVisibleRowCount());
    scrollBar_->SetVisible(scrollBar_->CanScroll());
    if (selected_ >= count) selected_ = count - 1;
    Invalidate();
}

void KivRowView::SelectRow(int32_t row) {
    row = std::clamp(row, -1, GetRowCount() - 1);
    EnsureVisible(row);
    if (row == selected_) return;
    selected_ = row;
    Invalidate();
    OnSelectionChanged(row);
}

void KivRowView::EnsureVisible(int32_t row) {
    // Without a size nothing is in view yet; Arrange brings the row in once there is one.
    if (row < 0 || GetSize().y <= 2 * kInset) return;
    if (row < GetTopRow()) SetTopRow(row);
    if (row >= GetTopRow() + GetVisibleRowCount()) SetTopRow(row - GetVisibleRowCount() + 1);
}

void KivRowView::OnScrolled(KivOnItemParams<int32_t>&) { Invalidate(); }

void KivRowView::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    KivControlPainting::Field(drawer, box, focused_);
    const KivRect inWindow = GetWindowRect();
    const KivRect field = Field().Offset(inWindow.left, inWindow.top);
    const KivRect saved = drawer.GetClipRect();
    drawer.SetClipRect(saved.Intersection(field));
    const int32_t last = std::min(GetRowCount(), GetTopRow() + GetVisibleRowCount() + 1);
    for (int32_t row = GetTopRow(); row < last; ++row) {
        PaintRow(drawer, row, RowRect(row).Offset(inWindow.left, inWindow.top), row == selected_);
    }
    drawer.SetClipRect(saved);
}

KivPoint KivRowView::ComputeAutoSize(KivPoint available) {
    return KivPoint{std::max(available.x, KivStyleMetrics::kListBoxSize.x), std::max(available.y, KivStyleMetrics::kListBoxSize.y)};
}

void KivRowView::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    if (KivWindow* window = GetWindow()) {
        window->SetFocus(this);
        window->SetCapture(this);
    }
    dragging_ = true;
    const int32_t row = RowAt(point);
    if (row >= 0) OnRowPressed(row, point.x);
}

void KivRowView::OnMouseMove(KivPoint point, uint8_t) {
    if (!dragging_) return;
    // Dragging beyond the field drags the selection along and scrolls.
    const KivRect field = Field();
    if (point.y < field.top) {
        SelectRow(GetTopRow() - 1);
    } else if (point.y > field.bottom) {
        SelectRow(GetTopRow() + GetVisibleRowCount());
    } else if (const int32_t row = RowAt(KivPoint{field.left, point.y}); row >= 0) {
        SelectRow(row);
    }
}

void KivRowView::OnMouseUp(KivPoint, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !dragging_) return;
    dragging_ = false;
    if (KivWindow* window = GetWindow(); window != nullptr && window->GetCapture() == this) window->SetCapture(nullptr);
}

void KivRowView::OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    const int32_t row = RowAt(point);
    if (row < 0) {
        OnMouseDown(point, button, state);
        return;
    }
    if (KivWindow* window = GetWindow()) window->SetFocus(this);
    SelectRow(row);
    OnRowDoubleClick(row, point.x);
}

bool KivRowView::OnMouseWheel(KivPoint point, int32_t delta, uint8_t state) {
    return IsEnabled() && scrollBar_->OnMouseWheel(point, delta, state);
}

bool KivRowView::OnKeyDown(uint32_t key, uint8_t) {
    if (!IsEnabled() || GetRowCount() == 0) return false;
    const int32_t page = std::max(1, GetVisibleRowCount() - 1);
    switch (key) {
        case KivKeyCode::kUp: SelectRow(std::max(0, selected_ - 1)); return true;
        case KivKeyCode::kDown: SelectRow(selected_ + 1); return true;
        case KivKeyCode::kHome: SelectRow(0); return true;
        case KivKeyCode::kEnd: SelectRow(GetRowCount() - 1); return true;
        case KivKeyCode::kPageUp: SelectRow(std::max(0, selected_ - page)); return true;
        case KivKeyCode::kPageDown: SelectRow(selected_ + page); return true;
        default: return false;
    }
}

void KivRowView::OnFocus(bool gained) {
    focused_ = gained;
    Invalidate();
}
