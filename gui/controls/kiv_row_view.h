#pragma once
#include "gui/controls/kiv_scroll_bar.h"
#include "gui/core/kiv_panel.h"

// Common ground of list boxes and trees: rows of one height in a sunken field with at most
// one selected row, a vertical scroll bar at the right while the rows do not fit, the wheel
// scrolling them and the keys Up, Down, Home, End, PageUp and PageDown moving the selection.
// The selected row is always brought into view. Rows and the scroll position are counted in
// whole rows.
class KivRowView : public KivPanel {
public:
    KivRowView();

    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void Arrange() override;
    KivPoint ComputeAutoSize(KivPoint available) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state) override;
    bool OnMouseWheel(KivPoint point, int32_t delta, uint8_t state) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    void OnFocus(bool gained) override;
    bool CanTakeFocus() override { return IsEnabled(); }

    virtual int32_t GetRowCount() const = 0;
    // -1: none.
    int32_t GetSelectedRow() const { return selected_; }
    // Selects `row` (clamped; -1 clears) and scrolls it into view.
    void SelectRow(int32_t row);
    int32_t GetTopRow() const { return scrollBar_->GetScrollPosition(); }
    void SetTopRow(int32_t row) { scrollBar_->SetScrollPosition(row); }
    // Whole rows that fit in the field.
    int32_t GetVisibleRowCount() const;
    // The row under `point` (control coordinates), -1 where there is none.
    int32_t RowAt(KivPoint point) const;
    // The rectangle of `row` in control coordinates (it may lie outside the field).
    KivRect RowRect(int32_t row) const;
    void EnsureVisible(int32_t row);
    KivScrollBar& GetScrollBar() { return *scrollBar_; }

    static constexpr int32_t kInset = 3;

protected:
    // The rows changed in number: the scroll bar and the selection follow.
    void RowsChanged();
    // `rect` is in window coordinates.
    virtual void PaintRow(KivDrawer& drawer, int32_t row, const KivRect& rect, bool selected) = 0;
    // A press on `row` at `x` (control coordinates); the base selects the row.
    virtual void OnRowPressed(int32_t row, int32_t /*x*/) { SelectRow(row); }
    virtual void OnRowDoubleClick(int32_t row, int32_t x) = 0;
    // The selection moved to `row` (it may be -1).
    virtual void OnSelectionChanged(int32_t row) = 0;
    bool HasFocus() const { return focused_; }
    KivRect Field() const;

private:
    void OnScrolled(KivOnItemParams<int32_t>& params);

    KivScrollBar* scrollBar_;  // a child: it dies with the panel
    int32_t selected_ = -1;
    bool focused_ = false;
    bool dragging_ = false;
};
