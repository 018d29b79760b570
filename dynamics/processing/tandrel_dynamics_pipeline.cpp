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
    follower_.SetCustomShapes(&customAttack_, &customRelease_);
}

void TandrelDynamicsPipeline::Initialize(int32_t channels, int32_t sampleRate) {
    channels_ = channels;
    sampleRate_ = sampleRate;
    for (int32_t c = 0; c < ActiveChannels(); ++c) follower_.ResetChannel(states_[c]);
}

int32_t TandrelDynamicsPipeline::ActiveChannels() const noexcept { return std::clamp(channels_, 0, kChannels); }

void TandrelDynamicsPipeline::CompileCustomShapes(const KivFollowerSettings& settings, const KivEnvelope& attack,
                                                  const KivEnvelope& release) {
    if (IsCustom(settings.attackShape)) customAttack_.Compile(attack);
    if (IsCustom(settings.releaseShape)) customRelease_.Compile(release);
}

void TandrelDynamicsPipeline::Configure(TandrelProcessingSetup& setup, KivEnvelope& shape) {
    EnterGainOnly(setup.shapeKind == TandrelShapeKind::kGainOnly);
    ApplyLink(setup.link);
    follower_.SetLookAhead(setup.lookAheadSamples);
    follower_.ApplySettings(setup.follower);
    const KivGainStageSettings& gain = setup.gain;
    gainOnlyFactor_ = gain.inputGain * gain.outputGain * gain.wet;
    if (!gainOnly_) {
        KivEnvelope meterShape;  // empty: the stage takes a copy of the main shape
        gainStage_.Apply(gain, shape, meterShape);
    }
    for (auto& state : states_) follower_.ConfigureChannel(state);
    if (gainOnly_) KeepGainOnlyDelay();
}

// The detector is idle in gain-only mode, so its states are cleared once on the way in and
// are fresh when a processor comes back on.
void TandrelDynamicsPipeline::EnterGainOnly(bool gainOnly) noexcept {
    if (gainOnly && !gainOnly_) {
        for (auto& state : states_) follower_.ResetChannel(state);
    }
    gainOnly_ = gainOnly;
    follower_.SetGainOnly(gainOnly);
}

void TandrelDynamicsPipeline::ApplyLink(double amount) noexcept {
    const bool wasFull = IsFullLink(follower_.GetLinkAmount());
    follower_.SetLinkAmount(amount);
    if (wasFull != IsFullLink(amount)) follower_.LinkChanged(kChannels, statePointers_);
}

// The reported latency stays the look-ahead in every mode, so the gain-only path keeps the
// same delay and switching every processor off never shifts the audio in time.
void TandrelDynamicsPipeline::KeepGainOnlyDelay() {
    const int32_t lookAhead = follower_.GetLookAhead();
    for (auto& state : states_) {
        if (lookAhead <= 0) {
            state.lookAhead.Clear();
        } else if (state.lookAhead.Fill() != lookAhead) {
            state.lookAhead.Restart(lookAhead);
        }
    }
}

void TandrelDynamicsPipeline::Reset() noexcept {
    for (auto& state : states_) follower_.ResetChannel(state);
    for (auto& state : states_) follower_.ConfigureChannel(state);
    if (gainOnly_) KeepGainOnlyDelay();
}

void TandrelDynamicsPipeline::Process(const float* const* inputs, float* const* outputs, int32_t count) {
    if (count <= 0) return;
    if (gainOnly_) {
        ProcessGainOnly(inputs, outputs, count);
        return;
    }
    const int32_t channels = ActiveChannels();
    // Detection reads the inputs before the delayed audio may overwrite them in place.
    const bool fullyLinked = follower_.Detect(statePointers_, CleanDetectorSources(inputs, channels, count), channels,
                                              count);
    // Without look-ahead the gains go straight from the inputs into the outputs, sparing a copy.
    const bool delayed = follower_.IsLookAheadActive();
    if (delayed) {
        for (int32_t c = 0; c < channels; ++c) Delay(states_[c], inputs[c], outputs[c], count, delayed);
    }
    ApplyGains(delayed ? outputs : inputs, outputs, fullyLinked, count);
    if (follower_.GetSideChainPlay() && follower_.Filter().IsAnyStageActive()) PlaySideChain(outputs, count);
    StoreGainReductions(fullyLinked);
}

// A broken sample reaches the detector as silence: an infinite one would otherwise hold the
// level at its ceiling for many release times after it passed.
const float* const* TandrelDynamicsPipeline::CleanDetectorSources(const float* const* inputs, int32_t channels,
                                                                  int32_t count) {
    for (int32_t c = 0; c < channels; ++c) {
        sources_[c] = inputs[c];
        if (!HasBrokenSamples(inputs[c], count)) continue;
        cleanSources_[c].Reserve(static_cast<size_t>(count));
        float* clean = cleanSources_[c].Data();
        for (int32_t i = 0; i < count; ++i) clean[i] = std::isfinite(inputs[c][i]) ? inputs[c][i] : 0.0f;
        sources_[c] = clean;
    }
    return sources_;
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
    const bool delayed = follower_.GetLookAhead() > 0;
    const float factor = static_cast<float>(gainOnlyFactor_);
    for (int32_t c = 0; c < ActiveChannels(); ++c) {
        Delay(states_[c], inputs[c], outputs[c], count, delayed);
        float* output = outputs[c];
        for (int32_t i = 0; i < count; ++i) output[i] *= factor;
    }
}

void TandrelDynamicsPipeline::ComputeGains(const double* levels, double* gains, int32_t count) noexcept {
    if (follower_.LevelsAreLogarithms()) gainStage_.ComputeGainsFromLogarithms(levels, gains, count);
    else gainStage_.ComputeGains(levels, gains, count);
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

// Side-chain play lets the user hear what the detector hears.
void TandrelDynamicsPipeline::PlaySideChain(float* const* outputs, int32_t count) noexcept {
    for (int32_t c = 0; c < ActiveChannels(); ++c) CopySamples(states_[c].scratch.Data(), outputs[c], count);
}

void TandrelDynamicsPipeline::StoreGainReductions(bool fullyLinked) noexcept {
    for (int32_t c = 0; c < ActiveChannels(); ++c) {
        states_[c].gainReduction =
            fullyLinked && c > 0 ? states_[0].gainReduction : gainStage_.MeterGain(states_[c].blockMaximum);
    }
}
