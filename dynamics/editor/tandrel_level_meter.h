#pragma once
#include "gui/core/kiv_control.h"
#include "gui/core/kiv_event.h"

// One channel's output meter: the RMS level as a blue column from the bottom, the peak above
// it in black turning red above about -1 dB, and the slow peak as a marker line. Levels are
// positions on the meter scale (0..1); setting the ones already shown repaints nothing.
class TandrelLevelMeter : public KivControl {
public:
    TandrelLevelMeter() : OnClick(this) {}
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void OnMouseDown(KivPoint, KivMouseButton button, uint8_t) override {
        if (button != KivMouseButton::kLeft) return;
        KivOnClickParams params{this};
        OnClick.Raise(params);
    }
    void SetLevels(double peak, double rms, double slowPeak);
    double GetPeak() const { return peak_; }
    double GetRMS() const { return rms_; }
    double GetSlowPeak() const { return slowPeak_; }

    KivEvent<KivOnClickParams> OnClick;

private:
    int32_t PixelsOf(double position, int32_t height) const;

    double peak_ = 0.0;
    double rms_ = 0.0;
    double slowPeak_ = 0.0;
};
