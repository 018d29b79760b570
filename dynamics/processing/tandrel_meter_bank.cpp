#include "dynamics/processing/tandrel_meter_bank.h"

#include <algorithm>

#include "dynamics/processing/tandrel_dynamics_pipeline.h"
#include "dynamics/processing/tandrel_meter_view.h"

TandrelMeterBank::TandrelMeterBank() {
    for (auto& reduction : hostReductions_) reduction.store(1.0);
}

void TandrelMeterBank::Initialize(int32_t channels, int32_t sampleRate) {
    measured_ = std::clamp(channels, 0, kChannels);
    for (int32_t c = 0; c < kChannels; ++c) channels_[c].Initialize(c < measured_ ? sampleRate : 1);
}

void TandrelMeterBank::SetDecays(int32_t sampleRate) noexcept {
    for (auto& channel : channels_) channel.SetDecays(sampleRate);
}

void TandrelMeterBank::ResetHeld() noexcept {
    for (auto& channel : channels_) channel.ResetHeld();
}

void TandrelMeterBank::Measure(const TandrelDynamicsPipeline& pipeline, const float* const* outputs, int32_t count,
                               bool editorOpen) noexcept {
    const int32_t channels = std::clamp(pipeline.GetChannelCount(), 0, measured_);
    if (editorOpen) {
        for (int32_t c = 0; c < channels; ++c) channels_[c].Measure(outputs[c], count);
    }
    if (pipeline.IsGainOnly()) {
        for (int32_t c = 0; c < channels; ++c) channels_[c].SetGainReduction(kGainOnlyReduction);
        return;
    }
    for (int32_t c = 0; c < channels; ++c) {
        const double reduction = std::min(pipeline.GetGainReduction(c), 1.0);
        channels_[c].SetGainReduction(reduction);
        HoldForHost(c, reduction);
    }
}

void TandrelMeterBank::HoldForHost(int32_t channel, double reduction) noexcept {
    std::atomic<double>& held = hostReductions_[channel];
    double current = held.load(std::memory_order_relaxed);
    while (reduction < current && !held.compare_exchange_weak(current, reduction, std::memory_order_relaxed)) {
    }
}

double TandrelMeterBank::TakeLargestReduction(int32_t channel) noexcept {
    return hostReductions_[channel].exchange(1.0, std::memory_order_relaxed);
}

void TandrelMeterBank::Publish(TandrelMeterView& view) noexcept {
    for (int32_t c = 0; c < kChannels; ++c) channels_[c].PublishReduction(view, c);
    PublishOutputs(view);
}

void TandrelMeterBank::PublishOutputs(TandrelMeterView& view) noexcept {
    for (int32_t c = 0; c < kChannels; ++c) channels_[c].PublishOutput(view, c);
}
