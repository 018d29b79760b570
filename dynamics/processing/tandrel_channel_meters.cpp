#include "dynamics/processing/tandrel_channel_meters.h"

#include <algorithm>
#include <cmath>

#include "dynamics/processing/tandrel_meter_level.h"
#include "dynamics/processing/tandrel_meter_view.h"

namespace {

// Offset of the reduction meter, so that full reduction still lights its lowest segment.
constexpr double kReductionMeterOffset = 1e-7;

}  // namespace

TandrelChannelMeters::Decay TandrelChannelMeters::DecayOver(double seconds, int32_t sampleRate) noexcept {
    const double samples = seconds * sampleRate;
    Decay decay;
    decay.keep = samples != 0.0 ? std::exp(-1.0 / samples) : 0.0;
    decay.lose = 1.0 - decay.keep;
    return decay;
}

void TandrelChannelMeters::Initialize(int32_t sampleRate) {
    fast_ = 0.0;
    slow_ = 0.0;
    rms_.Build(sampleRate);
    shownFast_.store(0.0, std::memory_order_relaxed);
    shownSlow_.store(0.0, std::memory_order_relaxed);
    shownRms_.store(rms_.Rms(), std::memory_order_relaxed);
}

void TandrelChannelMeters::SetDecays(int32_t sampleRate) noexcept {
    fastDecay_ = DecayOver(kFastSeconds, sampleRate);
    slowDecay_ = DecayOver(kSlowSeconds, sampleRate);
}

void TandrelChannelMeters::ResetHeld() noexcept {
    heldReduction_.store(1.0, std::memory_order_relaxed);
    heldPeak_.store(0.0, std::memory_order_relaxed);
}

void TandrelChannelMeters::Measure(const float* output, int32_t count) noexcept {
    double peakSquare = 0.0;
    for (int32_t i = 0; i < count; ++i) peakSquare = std::max(peakSquare, TandrelMeterSquare(output[i]));
    rms_.Feed(output, count);
    fast_ = std::max(peakSquare, fast_ * std::pow(fastDecay_.keep, count)) + kFloor;
    slow_ = std::max(peakSquare, slow_ * std::pow(slowDecay_.keep, count)) + kFloor;
    shownFast_.store(fast_, std::memory_order_relaxed);
    shownSlow_.store(slow_, std::memory_order_relaxed);
    shownRms_.store(rms_.Rms(), std::memory_order_relaxed);
}

void TandrelChannelMeters::PublishReduction(TandrelMeterView& view, int32_t channel) noexcept {
    const double reduction = GainReduction();
    view.ShowGainReduction(channel, std::sqrt(reduction) + kReductionMeterOffset);
    const double held = std::min(HeldReduction(), reduction);
    heldReduction_.store(held, std::memory_order_relaxed);
    view.ShowHeldReduction(channel, held);
}

void TandrelChannelMeters::PublishOutput(TandrelMeterView& view, int32_t channel) noexcept {
    const double peak = std::sqrt(FastPeak());
    const double held = std::max(HeldPeak(), peak);
    heldPeak_.store(held, std::memory_order_relaxed);
    view.ShowOutputLevels(channel, TandrelMeterPosition(peak), TandrelMeterPosition(Rms()),
                          TandrelMeterPosition(std::sqrt(SlowPeak())));
    view.ShowHeldPeak(channel, held);
}
