#pragma once
#include <cstdint>
#include <memory>

#include "dynamics/detector/kiv_detector_buffer.h"
#include "dynamics/detector/kiv_dynamics_processor_follower.h"
#include "dynamics/processing/tandrel_blend_ramp.h"
#include "dynamics/processing/tandrel_pipeline_setup.h"
#include "dynamics/processing/tandrel_processing_setup.h"
#include "plugin/kiv_cross_fade.h"
#include "plugin/kiv_delay_line.h"

class KivEnvelope;

// The signal path of up to eight channels: the detector follows the undelayed input, the
// audio waits in the look-ahead delay lines, and the gain from the compiled transfer shape is
// multiplied into it.
//
// Changes never break the sound. The detector runs in every mode, gain-only included, so a
// processor switched back on finds the level it left; a changed look-ahead fades between the
// old and the new delay (the lines are made once for the longest look-ahead and always fed,
// so both delays read real audio); a setup that switches the gain path as a whole (gain-only,
// a processor, the gate, maximize, the custom shape, an expander setting) is faded in over
// the one it replaces, which keeps playing until the fade is over; the link amount moves
// sample by sample, like the gains and dry/wet.
//
// Two sides. The settings side (Follower's settings, Prepare) runs on any thread but the
// audio thread, one at a time, and builds complete setups. The audio side (Install, Process,
// the channel states) runs on the audio thread only; Initialize and Reset belong to it too
// and are called by others only while no block runs.
class TandrelDynamicsPipeline {
public:
    static constexpr int32_t kChannels = KivDynamicsProcessorFollower::kChannelCount;

    TandrelDynamicsPipeline();
    TandrelDynamicsPipeline(const TandrelDynamicsPipeline&) = delete;
    TandrelDynamicsPipeline& operator=(const TandrelDynamicsPipeline&) = delete;

    // Clears the states of the first `channels` channels and makes room for blocks of
    // `maxBlock` samples and for the longest look-ahead; a switch still fading ends (the setup
    // it left comes out of TakeSwitchedFrom).
    void Initialize(int32_t channels, int32_t sampleRate, int32_t maxBlock);
    // Audio side: the blocks from here on process the first `channels` of those Initialize
    // made room for (a channel mode that processes one channel of a pair). A channel taken up
    // again goes on from the state it was left in; every look-ahead line starts from silence,
    // which the caller keeps unheard until the look-ahead has passed.
    void SetActiveChannels(int32_t channels) noexcept;

    // --- settings side ------------------------------------------------------------------------
    // Builds the setup for `settings` with the transfer shape `shape` (converted in place) and
    // the drawn attack and release shapes; `base` is the setup the audio thread will leave for
    // it, whose channel memory it reuses when the sizes agree.
    std::unique_ptr<TandrelPipelineSetup> Prepare(TandrelProcessingSetup& settings, KivEnvelope& shape,
                                                  const KivEnvelope& attack, const KivEnvelope& release,
                                                  const TandrelSetupSizes& base);
    // The detector's settings as stored and edited; setups copy them.
    KivDynamicsProcessorFollower& Follower() noexcept { return follower_; }

    // --- audio side ---------------------------------------------------------------------------
    // Makes `next` the setup of the following blocks and answers the one it replaces, unless
    // that one plays on under the fade of a switch (TakeSwitchedFrom answers it when the fade
    // is over). The idle setup the pipeline starts with is never answered. Never allocates.
    // While IsSwitching only a setup on the path fading in (same GainPath, no channel reset):
    // its blend ramps from where that path's was; any other waits for the fade to end.
    TandrelPipelineSetup* Install(TandrelPipelineSetup& next) noexcept;
    bool IsSwitching() const noexcept { return switchFrom_ != nullptr; }
    // The path switches of the setup playing (see TandrelPipelineSetup::pathSwitches).
    uint32_t GainPath() const noexcept { return setup_->pathSwitches; }
    // The setup a switch faded out, once the fade is over (null otherwise); with `now`, the
    // fade ends at once (before the pipeline goes away).
    TandrelPipelineSetup* TakeSwitchedFrom(bool now = false) noexcept;
    // The setup the pipeline starts with; installing it hands back the last real one.
    TandrelPipelineSetup& IdleSetup() noexcept { return idle_; }
    // Every state back to silence (detector, filters, look-ahead delay).
    void Reset() noexcept;
    // Inputs and outputs may be the same buffers. The detector follows `sideChain` when one is
    // given and the setup keys on it, else the inputs; either way undelayed, so the look-ahead
    // leads the audio by the same time. Blocks up to the size given to Initialize never allocate.
    void Process(const float* const* inputs, float* const* outputs, int32_t count,
                 const float* const* sideChain = nullptr);

    bool IsGainOnly() const noexcept { return setup_->gainOnly; }
    int32_t GetChannelCount() const noexcept { return channels_; }
    int32_t GetSampleRate() const noexcept { return sampleRate_; }
    // The gain of the last block at its loudest envelope (1 = no reduction).
    double GetGainReduction(int32_t channel) const noexcept { return states_[channel].gainReduction; }
    const KivDynamicsGainStage& GainStage() const noexcept { return setup_->gainStage; }

private:
    int32_t ActiveChannels() const noexcept;
    // The channels with NaN and infinities replaced by silence, in `clean` where there were any.
    static const float* const* CleanSources(const float* const* inputs, int32_t channels, int32_t count,
                                            KivDetectorBuffer<float>* clean, const float** sources);
    void SwapInChannelMemory(TandrelPipelineSetup& next) noexcept;
    // The delayed audio: the inputs themselves while the delay is 0 and not fading, else the
    // outputs; either way every block passes through the delay lines.
    const float* const* Delay(const float* const* inputs, float* const* outputs, int32_t count) noexcept;
    void DelayUnprocessed(const float* const* inputs, float* const* outputs, int32_t count) noexcept;
    void ProcessGainOnly(const float* const* signals, float* const* outputs, bool fullyLinked, int32_t count);
    // The follower leaves envelopes or their logarithms in the level buffers.
    void ComputeGains(const double* levels, double* gains, int32_t count) noexcept;
    // Blends the gains of the setup fading out under `gains` (the new setup's).
    void MixSwitchGains(const double* levels, double* gains, int32_t count) noexcept;
    void ApplyGains(const float* const* signals, float* const* outputs, bool fullyLinked, int32_t count);
    void PlaySideChain(float* const* outputs, int32_t count) noexcept;
    void StoreGainReductions(bool fullyLinked) noexcept;
    // The link amount: a ramp towards `target` from where it is now (or a jump).
    void TargetLink(double target, bool immediately) noexcept;
    // The amounts of the block's samples while the link moves, else null.
    const double* LinkAmounts(int32_t count) noexcept;
    void Advance(int32_t count) noexcept;

    // Settings side.
    KivDynamicsProcessorFollower follower_;
    // Audio side.
    TandrelPipelineSetup idle_;
    TandrelPipelineSetup* setup_ = &idle_;
    KivDynamicsProcessorFollower::ChannelState states_[kChannels];
    KivDynamicsProcessorFollower::ChannelState* statePointers_[kChannels];
    KivDetectorBuffer<double> gains_;
    KivDetectorBuffer<double> oldGains_;
    TandrelBlendRamp ramp_;
    KivDelayLine delays_[kChannels];
    int32_t longestLookAhead_ = 0;
    // A switch of the gain path: the setup it left and its blend, fading out.
    TandrelPipelineSetup* switchFrom_ = nullptr;
    TandrelBlendRamp::Blend switchFromBlend_;
    int32_t switchPosition_ = 0;
    int32_t switchLength_ = 441;
    // The switch fade's weights, made with its length in Initialize.
    std::shared_ptr<const KivFadeTable> switchFade_;
    TandrelPipelineSetup* switchedFrom_ = nullptr;
    // The link amount's ramp.
    KivDetectorBuffer<double> links_;
    double linkFrom_ = 1.0;
    double linkTo_ = 1.0;
    int32_t linkPosition_ = 0;
    int32_t linkLength_ = 0;
    int32_t linkRampLength_ = 220;
    KivDetectorBuffer<float> cleanSources_[kChannels];
    const float* sources_[kChannels] = {};
    KivDetectorBuffer<float> cleanKeys_[kChannels];
    const float* keys_[kChannels] = {};
    // Set when processing starts afresh: until a sample is played, new settings apply at once,
    // as in a new instance (nothing was heard that a ramp would have to leave smoothly).
    bool restarted_ = false;
    int32_t channels_ = 2;
    // Channels Initialize made room for.
    int32_t reserved_ = 2;
    int32_t sampleRate_ = 0;
};
