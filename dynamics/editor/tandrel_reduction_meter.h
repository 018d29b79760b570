#pragma once
#include "gui/core/kiv_control.h"
#include "gui/core/kiv_event.h"

// One channel's gain-reduction meter: the reduction grows down from the top. The position is
// the root of the gain (1 = no reduction); above 1 (gain-only mode) the meter shows nothing.
class TandrelReductionMeter : public KivControl {
public:
    TandrelReductionMeter() : OnClick(this) {}
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void OnMouseDown(KivPoint, KivMouseButton button, uint8_t) override {
        if (button != KivMouseButton::kLeft) return;
        KivOnClickParams params{this};
        OnClick.Raise(params);
    }
    void SetPosition(double position);
    double GetPosition() const { return position_; }

    KivEvent<KivOnClickParams> OnClick;

private:
    int32_t ReductionPixels(double position) const;

    double position_ = 1.0;
};
