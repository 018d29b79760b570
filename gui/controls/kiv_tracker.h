#pragma once
#include "gui/controls/kiv_control_value_dragging.h"

// A horizontal slider: caption and value text above a thin track with a lit share and a
// round handle. A press on the track jumps the value there, then drags from that point.
class KivTracker : public KivControlValueDragging {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;

    // The track's horizontal span in control coordinates.
    int32_t TrackLeft() const { return kHandleRadius + 1; }
    int32_t TrackRight() const { return GetSize().x - kHandleRadius - 2; }

protected:
    int32_t TowardsLarger(KivPoint from, KivPoint to) const override;
    void OnPress(KivPoint point) override;

private:
    static constexpr int32_t kHandleRadius = 6;
    int32_t TrackY() const;
};
