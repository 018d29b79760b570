#pragma once
#include <cstdint>

// What the editor shows of the processing. The effect calls it only under its own mutex and
// only while the editor is open; levels arrive already mapped to the meters' 0..1 scale.
class TandrelMeterView {
public:
    virtual ~TandrelMeterView() = default;

    // `position` is the root of the channel's gain reduction (1 = none).
    virtual void ShowGainReduction(int32_t channel, double position) = 0;
    // The largest reduction since parameters were last applied, as a gain; shown in dB.
    virtual void ShowHeldReduction(int32_t channel, double gain) = 0;
    virtual void ShowOutputLevels(int32_t channel, double peak, double rms, double slowPeak) = 0;
    // The loudest output peak since parameters were last applied, as an amplitude; shown in dB.
    virtual void ShowHeldPeak(int32_t channel, double amplitude) = 0;
    // Meters of the first `channels` channels are visible, the others hidden.
    virtual void ShowChannelMeters(int32_t channels) = 0;
    // Parameters were applied: controls and the transfer shape drawing read them again.
    virtual void RefreshState() = 0;
    virtual void UpdateLevelGraph() = 0;
};
