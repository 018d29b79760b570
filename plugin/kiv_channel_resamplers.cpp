#include "plugin/kiv_channel_resamplers.h"

#include <new>

#include "base/kiv_memory.h"

KivChannelResamplers::~KivChannelResamplers() {
    for (KivResampler* resampler : resamplers_) {
        if (!resampler) continue;
        resampler->~KivResampler();
        KivMemory::Free(resampler);
    }
}

void KivChannelResamplers::SetFactor(int32_t factor) {
    latencyProbe_.SetFactor(factor);  // raises before anything changes
    factor_ = factor;
}

void KivChannelResamplers::SetHighQuality(bool high) {
    latencyProbe_.SetQuality(high);
    highQuality_ = high;
}

void KivChannelResamplers::SetSlope(KivResamplerSlope slope) {
    latencyProbe_.SetSlope(slope);
    slope_ = slope;
}

KivResampler& KivChannelResamplers::Ready(int32_t channel, int32_t count) {
    KivResampler*& resampler = resamplers_[channel];
    if (!resampler) resampler = new (KivMemory::Allocate(sizeof(KivResampler))) KivResampler();
    if (count > preparedCounts_[channel]) {
        const auto prepared = static_cast<int32_t>(KivMemory::NextPowerOfTwo(static_cast<size_t>(count)));
        resampler->Prepare(prepared);
        preparedCounts_[channel] = prepared;
    }
    ApplySettings(*resampler);
    return *resampler;
}

void KivChannelResamplers::ApplySettings(KivResampler& resampler) {
    // Each change clears the resampler's history, so only real changes are applied.
    if (resampler.GetFactor() != factor_) resampler.SetFactor(factor_);
    if (resampler.IsHighQuality() != highQuality_) resampler.SetQuality(highQuality_);
    if (resampler.GetSlope() != slope_) resampler.SetSlope(slope_);
}
