#pragma once
#include "gui/controls/kiv_control_value.h"

// A level meter: a column (or a row, when wider than high) of segments lit from the bottom,
// green to amber to red towards the top, with a peak-hold line. The level is a position in
// 0..1 set by the owner, or the bound value's position when there is one.
class KivBarMeter : public KivControlValue {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;

    // Both in 0..1; the peak is held at the larger of the two.
    void SetLevel(double level, double peak);
    double GetLevel() const;
    double GetPeak() const { return peak_; }

    // Where the colours change, as shares of the scale.
    static constexpr double kMiddleFrom = 0.70;
    static constexpr double kHighFrom = 0.90;

private:
    bool IsHorizontal() const { return GetSize().x > GetSize().y; }

    double level_ = 0.0;
    double peak_ = 0.0;
};
