#pragma once
// A meter view that shows nothing: for tests that run the effect's metering without an editor.
#include "dynamics/processing/tandrel_meter_view.h"

class TandrelSilentMeterView : public TandrelMeterView {
public:
    void ShowGainReduction(int32_t, double) override {}
    void ShowHeldReduction(int32_t, double) override {}
    void ShowOutputLevels(int32_t, double, double, double) override {}
    void ShowHeldPeak(int32_t, double) override {}
    void ShowChannelMeters(int32_t) override {}
    void RefreshState() override {}
    void UpdateLevelGraph() override {}
};
