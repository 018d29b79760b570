#pragma once
#include <cstdint>

#include "plugin/oversampling/kiv_resampler.h"

// One resampler per host channel, all with the same factor, quality and slope. A channel's
// resampler is made the first time that channel is oversampled; settings that changed since
// are applied to it before its next block.
class KivChannelResamplers {
public:
    static constexpr int32_t kMaxChannels = 32;

    KivChannelResamplers() = default;
    ~KivChannelResamplers();
    KivChannelResamplers(const KivChannelResamplers&) = delete;
    KivChannelResamplers& operator=(const KivChannelResamplers&) = delete;

    // Raises KivException (invalid argument) for factors other than 1, 2, 4 and 8.
    void SetFactor(int32_t factor);
    void SetHighQuality(bool high);
    void SetSlope(KivResamplerSlope slope);
    int32_t GetFactor() const noexcept { return factor_; }
    bool IsHighQuality() const noexcept { return highQuality_; }
    KivResamplerSlope GetSlope() const noexcept { return slope_; }
    // Round-trip delay in host samples with the current settings (0 without oversampling).
    int32_t GetLatency() const noexcept { return factor_ >= 2 ? latencyProbe_.GetLatency() : 0; }

    // The channel's resampler, made if missing, set to the current settings and ready for
    // blocks of `count` host samples.
    KivResampler& Ready(int32_t channel, int32_t count);

private:
    void ApplySettings(KivResampler& resampler);

    KivResampler* resamplers_[kMaxChannels] = {};
    int32_t preparedCounts_[kMaxChannels] = {};
    KivResampler latencyProbe_;
    int32_t factor_ = 1;
    bool highQuality_ = true;
    KivResamplerSlope slope_ = KivResamplerSlope::kSteep;
};
