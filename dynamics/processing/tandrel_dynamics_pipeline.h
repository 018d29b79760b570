#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_detector_buffer.h"
#include "dynamics/detector/kiv_dynamics_processor_follower.h"
#include "dynamics/gain/kiv_dynamics_gain_stage.h"
#include "dynamics/processing/kiv_envelope_follower_shape.h"
#include "dynamics/processing/tandrel_processing_setup.h"

class KivEnvelope;

// The signal path of up to eight channels: the detector follows the undelayed input, the
// audio waits in the look-ahead queue, and the gain from the compiled transfer shape is
// multiplied into it. Not locked: the effect serialises every call under its mutex.
class TandrelDynamicsPipeline {
public:
    static constexpr int32_t kChannels = KivDynamicsProcessorFollower::kChannelCount;

    TandrelDynamicsPipeline();
    TandrelDynamicsPipeline(const TandrelDynamicsPipeline&) = delete;
    TandrelDynamicsPipeline& operator=(const TandrelDynamicsPipeline&) = delete;

    // Clears the states of the first `channels` channels.
    void Initialize(int32_t channels, int32_t sampleRate);
    // Compiles the drawn attack and release shapes the setup selects (null: not drawn).
    void CompileCustomShapes(const KivFollowerSettings& settings, const KivEnvelope& attack,
                             const KivEnvelope& release);
    // Takes over the setup and the transfer shape built for it; `shape` is converted in place.
    void Configure(TandrelProcessingSetup& setup, KivEnvelope& shape);
    // Every state back to silence (detector, filters, look-ahead queue).
    void Reset() noexcept;

    // Inputs and outputs may be the same buffers. Allocates only when a block is longer than
    // any before.
    void Process(const float* const* inputs, float* const* outputs, int32_t count);

    bool IsGainOnly() const noexcept { return gainOnly_; }
    int32_t GetChannelCount() const noexcept { return channels_; }
    int32_t GetSampleRate() const noexcept { return sampleRate_; }
    int32_t GetLatency() const noexcept { return follower_.GetLookAhead(); }
    // The gain of the last block at its loudest envelope (1 = no reduction).
    double GetGainReduction(int32_t channel) const noexcept { return states_[channel].gainReduction; }
    KivDynamicsProcessorFollower& Follower() noexcept { return follower_; }
    const KivDynamicsGainStage& GainStage() const noexcept { return gainStage_; }

private:
    int32_t ActiveChannels() const noexcept;
    const float* const* CleanDetectorSources(const float* const* inputs, int32_t channels, int32_t count);
    void EnterGainOnly(bool gainOnly) noexcept;
    void ApplyLink(double amount) noexcept;
    void KeepGainOnlyDelay();
    void Delay(KivDynamicsProcessorFollower::ChannelState& state, const float* input, float* output, int32_t count,
               bool delayed);
    void ProcessGainOnly(const float* const* inputs, float* const* outputs, int32_t count);
    // The follower leaves envelopes or their logarithms in the level buffers.
    void ComputeGains(const double* levels, double* gains, int32_t count) noexcept;
    void ApplyGains(const float* const* signals, float* const* outputs, bool fullyLinked, int32_t count);
    void PlaySideChain(float* const* outputs, int32_t count) noexcept;
    void StoreGainReductions(bool fullyLinked) noexcept;

    KivDynamicsProcessorFollower follower_;
    KivDynamicsProcessorFollower::ChannelState states_[kChannels];
    KivDynamicsProcessorFollower::ChannelState* statePointers_[kChannels];
    KivDynamicsGainStage gainStage_;
    KivEnvelopeFollowerShape customAttack_;
    KivEnvelopeFollowerShape customRelease_;
    KivDetectorBuffer<double> gains_;
    KivDetectorBuffer<float> cleanSources_[kChannels];
    const float* sources_[kChannels] = {};
    int32_t channels_ = 2;
    int32_t sampleRate_ = 0;
    bool gainOnly_ = false;
    double gainOnlyFactor_ = 1.0;
};
