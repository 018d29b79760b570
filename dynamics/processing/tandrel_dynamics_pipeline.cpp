#include "dynamics/processing/tandrel_dynamics_pipeline.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dynamics/detector/kiv_vector_clones.h"
#include "envelope/kiv_envelope.h"

namespace {

constexpr double kZero = 1e-50;

bool IsFullLink(double amount) noexcept { return std::fabs(amount - 1.0) <= kZero; }

bool IsCustom(KivAttackReleaseMode mode) noexcept {
    return mode == KivAttackReleaseMode::kCustom || mode == KivAttackReleaseMode::kCustomLogarithmic;
}

// NaN and infinity have every exponent bit set. Tested on the bits, so the scan vectorises.
KIV_VECTOR_CLONES bool HasBrokenSamples(const float* samples, int32_t count) noexcept {
    uint32_t broken = 0;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &samples[i], sizeof(bits));
        broken |= static_cast<uint32_t>((bits & 0x7F800000u) == 0x7F800000u);
    }
    return broken != 0;
}

void CopySamples(const float* from, float* to, int32_t count) noexcept {
    if (from != to) std::memmove(to, from, static_cast<size_t>(count) * sizeof(float));
}

// In place written as such, so that the loop vectorises without an overlap check that
// identical buffers would fail.
KIV_VECTOR_CLONES void MultiplyInto(const float* signal, const double* gains, float* output, int32_t count) noexcept {
    if (signal == output) {
        for (int32_t i = 0; i < count; ++i) output[i] = static_cast<float>(output[i] * gains[i]);
    } else {
        for (int32_t i = 0; i < count; ++i) output[i] = static_cast<float>(signal[i] * gains[i]);
    }
}

}  // namespace

TandrelDynamicsPipeline::TandrelDynamicsPipeline() {
    for (int32_t c = 0; c < kChannels; ++c) statePointers_[c] = &states_[c];
}

void TandrelDynamicsPipeline::Initialize(int32_t channels, int32_t sampleRate, int32_t maxBlock) {
    channels_ = channels;
    sampleRate_ = sampleRate;
    ramp_.SetSampleRate(sampleRate);
    const int32_t block = std::max(maxBlock, 1);
    gains_.Reserve(static_cast<size_t>(block));
    for (int32_t c = 0; c < kChannels; ++c) {
        cleanSources_[c].Reserve(static_cast<size_t>(block));
        cleanKeys_[c].Reserve(static_cast<size_t>(block));
        states_[c].Reserve(block, std::max(setup_->follower.GetLookAhead(), 0));
    }
    // Processing (re)starts as a new instance's does: detectors at rest, the look-ahead
    // queues holding the latency's worth of silence (emptied alone they would play the audio
    // undelayed after a host stops and starts the transport, while the host still moves it
    // back by the latency reported), and no gain ramp left from before the stop.
    Reset();
    ramp_.Settle();
    restarted_ = true;
}

int32_t TandrelDynamicsPipeline::ActiveChannels() const noexcept { return std::clamp(channels_, 0, kChannels); }

// --- settings side ------------------------------------------------------------------------------

std::unique_ptr<TandrelPipelineSetup> TandrelDynamicsPipeline::Prepare(TandrelProcessingSetup& settings,
                                                                       KivEnvelope& shape, const KivEnvelope& attack,
                                                                       const KivEnvelope& release,
                                                                       const TandrelSetupSizes& base,
                                                                       int32_t maxBlock) {
    auto next = std::make_unique<TandrelPipelineSetup>();
    const bool gainOnly = settings.shapeKind == TandrelShapeKind::kGainOnly;
    // The stored follower is designed in place, so that its filter stages keep their design
    // versions from one setup to the next (an unchanged filter never restarts in a channel).
    follower_.SetGainOnly(gainOnly);
    follower_.SetLinkAmount(settings.link);
    follower_.SetLookAhead(settings.lookAheadSamples);
    follower_.ApplySettings(settings.follower);
    next->follower = follower_;
    next->follower.SetCustomShapes(&next->customAttack, &next->customRelease);
    if (IsCustom(settings.follower.attackShape)) next->customAttack.Compile(attack);
    if (IsCustom(settings.follower.releaseShape)) next->customRelease.Compile(release);
    const KivGainStageSettings& gain = settings.gain;
    next->gainOnly = gainOnly;
    // The same blend as with a shape gain of 1: the dry part passes as it is. Without it the
    // last processor switched off at dry/wet 0% ("no processing at all") silenced the output,
    // and at 50% dropped it by 6 dB.
    next->gainOnlyFactor = gain.inputGain * gain.outputGain * gain.wet + (1.0 - gain.wet);
    if (!gainOnly) {
        KivEnvelope meterShape;  // empty: the stage takes a copy of the main shape
        next->gainStage.Apply(gain, shape, meterShape);
    }
    next->sizes.trueRmsLength = next->follower.TrueRmsLength();
    next->sizes.lookAhead = next->follower.GetLookAhead();
    if (next->sizes.trueRmsLength > 0 && next->sizes.trueRmsLength != base.trueRmsLength) {
        next->hasRings = true;
        for (KivTrueRmsRing& ring : next->rings) ring.Build(next->sizes.trueRmsLength);
    }
    const int32_t lookAhead = next->sizes.lookAhead;
    if (lookAhead > 0 && lookAhead != base.lookAhead) {
        next->hasQueues = true;
        for (KivLookAheadQueue& queue : next->queues) {
            queue.Reserve(lookAhead + std::max(maxBlock, 1));
            queue.Restart(lookAhead);
        }
    }
    return next;
}

// --- audio side ---------------------------------------------------------------------------------

TandrelPipelineSetup* TandrelDynamicsPipeline::Install(TandrelPipelineSetup& next) noexcept {
    TandrelPipelineSetup* left = setup_;
    setup_ = &next;
    KivDynamicsProcessorFollower& follower = next.follower;
    if (next.resetChannels) {
        for (int32_t c = 0; c < ActiveChannels(); ++c) follower.ResetChannel(states_[c]);
    }
    // The detector is idle in gain-only mode, so its states are cleared once on the way in and
    // are fresh when a processor comes back on.
    if (next.gainOnly && !left->gainOnly) {
        for (auto& state : states_) follower.ResetChannel(state);
    }
    if (IsFullLink(left->follower.GetLinkAmount()) != IsFullLink(follower.GetLinkAmount())) {
        follower.LinkChanged(kChannels, statePointers_);
    }
    SwapInChannelMemory(next);
    for (auto& state : states_) follower.ConfigureChannel(state);
    if (next.gainOnly) KeepGainOnlyDelay();
    // The gain-only path is a shape gain of 1 blended with its factor. Loaded settings start
    // afresh like the channels, so a restored state sounds as it did from its first sample.
    const KivDynamicsGainStage& stage = next.gainStage;
    ramp_.Target(next.gainOnly ? TandrelBlendRamp::Blend{next.gainOnlyFactor, 0.0}
                               : TandrelBlendRamp::Blend{stage.GetWetGain(), stage.GetDry()},
                 left == &idle_ || next.resetChannels || restarted_);
    return left == &idle_ ? nullptr : left;
}

// Rings and queues of a new size were made with the setup: they take the channels' places,
// and the memory they replace leaves with the setup that brought them.
void TandrelDynamicsPipeline::SwapInChannelMemory(TandrelPipelineSetup& next) noexcept {
    const int32_t length = next.sizes.trueRmsLength;
    const int32_t lookAhead = next.sizes.lookAhead;
    for (int32_t c = 0; c < kChannels; ++c) {
        KivDynamicsProcessorFollower::ChannelState& state = states_[c];
        if (next.hasRings && state.trueRms.Length() != length) state.trueRms.Swap(next.rings[c]);
        if (next.hasQueues && state.lookAhead.Fill() != lookAhead) state.lookAhead.Swap(next.queues[c]);
    }
}

// The reported latency stays the look-ahead in every mode, so the gain-only path keeps the
// same delay and switching every processor off never shifts the audio in time.
void TandrelDynamicsPipeline::KeepGainOnlyDelay() {
    const int32_t lookAhead = setup_->follower.GetLookAhead();
    for (auto& state : states_) {
        if (lookAhead <= 0) {
            state.lookAhead.Clear();
        } else if (state.lookAhead.Fill() != lookAhead) {
            state.lookAhead.Restart(lookAhead);
        }
    }
}

void TandrelDynamicsPipeline::Reset() noexcept {
    KivDynamicsProcessorFollower& follower = setup_->follower;
    for (auto& state : states_) follower.ResetChannel(state);
    for (auto& state : states_) follower.ConfigureChannel(state);
    if (setup_->gainOnly) KeepGainOnlyDelay();
}

void TandrelDynamicsPipeline::Process(const float* const* inputs, float* const* outputs, int32_t count,
                                      const float* const* sideChain) {
    if (count <= 0) return;
    restarted_ = false;
    const int32_t channels = ActiveChannels();
    // A broken sample (NaN, infinity) is played and detected as silence: passed on it would
    // reach the host's mix, and in the detector an infinite one would hold the level at its
    // ceiling for many release times after it passed.
    inputs = CleanSources(inputs, channels, count, cleanSources_, sources_);
    if (setup_->gainOnly) {
        ProcessGainOnly(inputs, outputs, count);
        return;
    }
    KivDynamicsProcessorFollower& follower = setup_->follower;
    // Detection reads the inputs before the delayed audio may overwrite them in place.
    // The side-chain keys the detector while the setup asks for it and the host hands one over.
    const float* const* keys = setup_->keysOnSideChain && sideChain
                                   ? CleanSources(sideChain, channels, count, cleanKeys_, keys_)
                                   : inputs;
    const bool fullyLinked = follower.Detect(statePointers_, keys, channels, count);
    // Without look-ahead the gains go straight from the inputs into the outputs, sparing a copy.
    const bool delayed = follower.IsLookAheadActive();
    if (delayed) {
        for (int32_t c = 0; c < channels; ++c) Delay(states_[c], inputs[c], outputs[c], count, delayed);
    }
    ApplyGains(delayed ? outputs : inputs, outputs, fullyLinked, count);
    ramp_.Advance(count);
    if (follower.GetSideChainPlay()) PlaySideChain(outputs, count);
    StoreGainReductions(fullyLinked);
}

const float* const* TandrelDynamicsPipeline::CleanSources(const float* const* inputs, int32_t channels, int32_t count,
                                                          KivDetectorBuffer<float>* clean, const float** sources) {
    for (int32_t c = 0; c < channels; ++c) {
        sources[c] = inputs[c];
        if (!HasBrokenSamples(inputs[c], count)) continue;
        clean[c].Reserve(static_cast<size_t>(count));
        float* samples = clean[c].Data();
        for (int32_t i = 0; i < count; ++i) samples[i] = std::isfinite(inputs[c][i]) ? inputs[c][i] : 0.0f;
        sources[c] = samples;
    }
    return sources;
}

void TandrelDynamicsPipeline::Delay(KivDynamicsProcessorFollower::ChannelState& state, const float* input,
                                    float* output, int32_t count, bool delayed) {
    if (!delayed) {
        CopySamples(input, output, count);
        return;
    }
    state.lookAhead.Append(input, count);
    state.lookAhead.Take(output, count);
}

void TandrelDynamicsPipeline::ProcessGainOnly(const float* const* inputs, float* const* outputs, int32_t count) {
    const bool delayed = setup_->follower.GetLookAhead() > 0;
    const float factor = static_cast<float>(setup_->gainOnlyFactor);
    const bool ramping = ramp_.IsMoving();
    if (ramping) {
        gains_.Reserve(static_cast<size_t>(count));
        ramp_.Factors(gains_.Data(), count);
    }
    for (int32_t c = 0; c < ActiveChannels(); ++c) {
        Delay(states_[c], inputs[c], outputs[c], count, delayed);
        float* output = outputs[c];
        if (ramping) MultiplyInto(output, gains_.Data(), output, count);
        else for (int32_t i = 0; i < count; ++i) output[i] *= factor;
    }
    ramp_.Advance(count);
}

void TandrelDynamicsPipeline::ComputeGains(const double* levels, double* gains, int32_t count) noexcept {
    KivDynamicsGainStage& stage = setup_->gainStage;
    const bool logarithms = setup_->follower.LevelsAreLogarithms();
    if (ramp_.IsMoving()) {
        // In place: the blend reads each shape gain before it writes that sample's gain.
        stage.ComputeShapeGains(levels, gains, count, logarithms);
        ramp_.Apply(gains, gains, count);
    } else if (logarithms) {
        stage.ComputeGainsFromLogarithms(levels, gains, count);
    } else {
        stage.ComputeGains(levels, gains, count);
    }
}

void TandrelDynamicsPipeline::ApplyGains(const float* const* signals, float* const* outputs, bool fullyLinked,
                                         int32_t count) {
    gains_.Reserve(static_cast<size_t>(count));
    double* gains = gains_.Data();
    for (int32_t c = 0; c < ActiveChannels(); ++c) {
        // Fully linked channels share one envelope, so its gains are worked out once.
        if (c == 0 || !fullyLinked) ComputeGains(states_[c].levels.Data(), gains, count);
        MultiplyInto(signals[c], gains, outputs[c], count);
    }
}

// Side-chain play lets the user hear what the detector hears: its filtered signal, or with no
// filter on the key itself (the side-chain, when it keys the detector). Playing the processed
// audio instead while no filter is on would tell someone listening that nothing is there.
void TandrelDynamicsPipeline::PlaySideChain(float* const* outputs, int32_t count) noexcept {
    for (int32_t c = 0; c < ActiveChannels(); ++c) CopySamples(states_[c].scratch.Data(), outputs[c], count);
}

void TandrelDynamicsPipeline::StoreGainReductions(bool fullyLinked) noexcept {
    for (int32_t c = 0; c < ActiveChannels(); ++c) {
        states_[c].gainReduction =
            fullyLinked && c > 0 ? states_[0].gainReduction : setup_->gainStage.MeterGain(states_[c].blockMaximum);
    }
}
