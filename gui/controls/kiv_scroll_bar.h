#pragma once
#include "gui/controls/kiv_control_value.h"

// A scroll bar over a range of `range` units of which `page` are in view; the position is
// the first unit in view, 0 to range - page. Vertical when "vertical" says so, else when it
// is taller than wide. The arrows move by a line ("linesize", 1 by default), a press on the
// track beside the thumb by a page, the thumb follows the pointer, a wheel notch moves three
// lines. Attributes: "range", "pagesize", "position", "linesize", "vertical". A bound value
// follows the position as its share of the travel (0 at the start, 1 at the end).
class KivScrollBar : public KivControlValue {
public:
    // The parts of the bar, for the pointer.
    enum class Part : int32_t { kNone, kLessArrow, kLessTrack, kThumb, kMoreTrack, kMoreArrow };
    static constexpr int32_t kThickness = 12;
    static constexpr int32_t kWheelLines = 3;

    KivScrollBar();

    void LoadAttributes(const KivXMLItem& item) override;
    void BindValue(std::unique_ptr<KivValue> value) override;
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    void OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state) override;
    bool OnMouseWheel(KivPoint point, int32_t delta, uint8_t state) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnTimer() override;

    void SetVertical(bool vertical);
    bool IsVertical() const;
    // Range and page keep the position inside the new travel.
    void SetRange(int32_t range, int32_t page);
    int32_t GetRange() const { return range_; }
    int32_t GetPageSize() const { return page_; }
    void SetLineSize(int32_t line) { line_ = std::max(1, line); }
    // The largest position: range - page, never below 0.
    int32_t GetMaximum() const;
    int32_t GetScrollPosition() const { return position_; }
    // Clamped into 0..GetMaximum(); raises OnScroll when it moved.
    void SetScrollPosition(int32_t position);
    // Whether there is anything to scroll.
    bool CanScroll() const { return GetMaximum() > 0; }

    Part PartAt(KivPoint point) const;
    // The thumb in the control's own coordinates.
    KivRect ThumbRect() const;

    // The position changed (by the user or through SetScrollPosition).
    KivEvent<KivOnItemParams<int32_t>> OnScroll;

private:
    int32_t Length() const;
    int32_t ArrowLength() const;
    int32_t Along(KivPoint point) const { return IsVertical() ? point.y : point.x; }
    // The thumb's start and length along the bar.
    int32_t ThumbLength() const;
    int32_t ThumbStart() const;
    void Act(Part part);
    void MoveBy(int32_t units) { SetScrollPosition(position_ + units); }
    void PaintArrow(KivDrawer& drawer, const KivRect& box, bool towardsLess) const;
    KivRect PartRect(int32_t from, int32_t to) const;

    int32_t range_ = 0;
    int32_t page_ = 0;
    int32_t line_ = 1;
    int32_t position_ = 0;
    int32_t orientation_ = -1;  // -1: by shape, 0 horizontal, 1 vertical
    Part pressed_ = Part::kNone;
    Part hover_ = Part::kNone;
    int32_t grab_ = 0;  // the pointer's offset into the thumb while dragging
    KivPoint pointer_{};
    bool repeating_ = false;
};
