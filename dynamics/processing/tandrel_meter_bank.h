#pragma once
#include <atomic>
#include <cstdint>

#include "dynamics/processing/tandrel_channel_meters.h"

class TandrelDynamicsPipeline;
class TandrelMeterView;

// The editor's figures of all eight channels, and the host-side display's largest gain
// reduction per channel since it was last read.
class TandrelMeterBank {
public:
    static constexpr int32_t kChannels = 8;
    // The reduction meter's value while nothing processes: above the top of its scale.
    static constexpr double kGainOnlyReduction = 2.0;

    TandrelMeterBank();

    // Meters for the first `channels` channels at `sampleRate`. The others keep a ring of one
    // sample: a 0.4 s ring for each of eight channels would cost a stereo instance 1.5 MB it
    // never uses.
    void Initialize(int32_t channels, int32_t sampleRate);
    void SetDecays(int32_t sampleRate) noexcept;
    void ResetHeld() noexcept;

    // After a processed block (audio thread): the output meters while `editorOpen`, then every
    // channel's reduction. Nothing is shown from here: the editor's refresh publishes.
    void Measure(const TandrelDynamicsPipeline& pipeline, const float* const* outputs, int32_t count,
                 bool editorOpen) noexcept;
    // The refresh step: reductions, held reductions and output meters of every channel.
    void Publish(TandrelMeterView& view) noexcept;
    void PublishOutputs(TandrelMeterView& view) noexcept;

    // The largest reduction (smallest gain) since the last call; 1 when none.
    double TakeLargestReduction(int32_t channel) noexcept;

    const TandrelChannelMeters& Channel(int32_t channel) const noexcept { return channels_[channel]; }

private:
    void HoldForHost(int32_t channel, double reduction) noexcept;

    TandrelChannelMeters channels_[kChannels];
    std::atomic<double> hostReductions_[kChannels];
    int32_t measured_ = 0;  // channels whose meters were initialised for the sample rate
};
