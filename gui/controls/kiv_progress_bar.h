#pragma once
#include "gui/controls/kiv_control_value.h"

// A thin rounded bar filled with the accent to the bound value's position (or the one set
// by SetProgress when no value is bound). It takes no input.
class KivProgressBar : public KivControlValue {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;

    void SetProgress(double share);
    double GetProgress() const;

private:
    double progress_ = 0.0;
};
