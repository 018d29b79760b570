#include "dynamics/processing/tandrel_dynamics_pipeline.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "dynamics/detector/kiv_vector_clones.h"
#include "envelope/kiv_envelope.h"
#include "plugin/kiv_cross_fade.h"

namespace {

constexpr double kZero = 1e-50;
// A switch of the gain path fades over as long as bypass does; the link amount ramps like the
// gains.
constexpr double kSwitchSeconds = 0.01;
constexpr double kLinkRampSeconds = 0.005;
// A setup joining a switch whose new path is still this quiet in the fade takes its blend at
// once: the step is at most a thousandth of the change (a host step that moved a switch and a
// gain at neighbouring offsets), where a ramp under the rising fade would overshoot both.
constexpr double kJoinAtOnceWeight = 1e-3;

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

// The link amount of each sample of a ramp from `from` to `to` over `length` samples, from
// `position` on. The samples before the ramp's last and from it on are loops of their own,
// each without a branch, over locals the stores cannot alias, so that they vectorise: the
// divisions of a block cost a few vector instructions.
KIV_VECTOR_CLONES void FillLinkRamp(double* links, int32_t count, int32_t position, int32_t length, double from,
                                    double to) noexcept {
    const int32_t moving = std::clamp(length - position - 1, 0, count);
    for (int32_t i = 0; i < moving; ++i) links[i] = from + (to - from) * (position + i + 1) / length;
    for (int32_t i = moving; i < count; ++i) links[i] = to;
}

}  // namespace

TandrelDynamicsPipeline::TandrelDynamicsPipeline() {
    for (int32_t c = 0; c < kChannels; ++c) statePointers_[c] = &states_[c];
}

void TandrelDynamicsPipeline::Initialize(int32_t channels, int32_t sampleRate, int32_t maxBlock) {
    channels_ = channels;
    reserved_ = std::clamp(channels, 0, kChannels);
    sampleRate_ = sampleRate;
    ramp_.SetSampleRate(sampleRate);
    const int32_t block = std::max(maxBlock, 1);
    gains_.Reserve(static_cast<size_t>(block));
    oldGains_.Reserve(static_cast<size_t>(block));
    links_.Reserve(static_cast<size_t>(block));
    for (int32_t c = 0; c < kChannels; ++c) {
        cleanSources_[c].Reserve(static_cast<size_t>(block));
        cleanKeys_[c].Reserve(static_cast<size_t>(block));
        states_[c].Reserve(block);
    }
    const auto samples = [&](double seconds) { return std::max(1, static_cast<int32_t>(std::lround(seconds * sampleRate))); };
    switchLength_ = samples(kSwitchSeconds);
    switchFade_ = KivFadeTable::Of(switchLength_);
    linkRampLength_ = samples(kLinkRampSeconds);
    // Processing starts anew: a switch still fading ends, the link amount stands at its target.
    if (switchFrom_) switchedFrom_ = std::exchange(switchFrom_, nullptr);
    linkFrom_ = linkTo_;
    linkPosition_ = linkLength_ = 0;
    // Made once for the longest look-ahead, so that changing it never allocates.
    longestLookAhead_ = TandrelLookAheadSamples(kTandrelLongestLookAhead, sampleRate);
    for (int32_t c = 0; c < reserved_; ++c) {
        delays_[c].Reserve(longestLookAhead_, block);
        delays_[c].SetFadeLength(switchLength_);
        delays_[c].SetDelay(std::clamp(setup_->follower.GetLookAhead(), 0, longestLookAhead_));
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

// A new channel mode routes other signals into the same lines (mid where left was, the right
// channel where the side was). Their history from before is another routing's audio: a
// look-ahead lengthened later would reach back into it, up to the loudest of the old signals
// where the new one may be silent. The lines start from silence, as a new instance's do; the
// mode plays unheard until they hold its own audio. A reset writes nothing into the lines
// (what they have not heard since plays as silence), so it costs the same at any delay.
void TandrelDynamicsPipeline::SetActiveChannels(int32_t channels) noexcept {
    channels_ = std::clamp(channels, 0, reserved_);
    for (int32_t c = 0; c < reserved_; ++c) delays_[c].Reset();
}

// --- settings side ------------------------------------------------------------------------------

std::unique_ptr<TandrelPipelineSetup> TandrelDynamicsPipeline::Prepare(TandrelProcessingSetup& settings,
                                                                       KivEnvelope& shape, const KivEnvelope& attack,
                                                                       const KivEnvelope& release,
                                                                       const TandrelSetupSizes& base) {
    auto next = std::make_unique<TandrelPipelineSetup>();
    const bool gainOnly = settings.shapeKind == TandrelShapeKind::kGainOnly;
    // The stored follower is designed in place, so that its filter stages keep their design
    // versions from one setup to the next (an unchanged filter never restarts in a channel).
    follower_.SetLinkAmount(settings.link);
    follower_.SetLookAhead(settings.lookAheadSamples);
    follower_.ApplySettings(settings.follower);
    next->follower = follower_;
    next->follower.SetCustomShapes(&next->customAttack, &next->customRelease);
    if (IsCustom(settings.follower.attackShape)) next->customAttack.Compile(attack);
    if (IsCustom(settings.follower.releaseShape)) next->customRelease.Compile(release);
    const KivGainStageSettings& gain = settings.gain;
    next->gainOnly = gainOnly;
    next->pathSwitches = settings.switches;
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
    return next;
}

// --- audio side ---------------------------------------------------------------------------------

TandrelPipelineSetup* TandrelDynamicsPipeline::Install(TandrelPipelineSetup& next) noexcept {
    TandrelPipelineSetup* left = setup_;
    setup_ = &next;
    KivDynamicsProcessorFollower& follower = next.follower;
    // Loaded settings start afresh like a new instance, so a restored state sounds as it did
    // from its first sample; nothing played before the first setup, or since a restart.
    const bool fresh = left == &idle_ || next.resetChannels || restarted_;
    // Since a restart nothing has played, yet the channels were reset and configured under
    // the setup installed then: a release mode it ran (Manual) leaves its coefficient in each
    // channel, which the next mode's first steps would use until its own update (16 samples)
    // where a new instance releases from rest. Reset again under the settings that will play.
    if (next.resetChannels || restarted_) {
        for (int32_t c = 0; c < reserved_; ++c) follower.ResetChannel(states_[c]);
    }
    TargetLink(follower.GetLinkAmount(), fresh);
    SwapInChannelMemory(next);
    for (auto& state : states_) follower.ConfigureChannel(state);
    const int32_t lookAhead = std::clamp(follower.GetLookAhead(), 0, longestLookAhead_);
    for (int32_t c = 0; c < reserved_; ++c) {
        delays_[c].SetDelay(lookAhead);
        if (next.resetChannels) delays_[c].Reset();
    }
    // The gain-only path is a shape gain of 1 blended with its factor.
    const KivDynamicsGainStage& stage = next.gainStage;
    const TandrelBlendRamp::Blend blend = next.gainOnly ? TandrelBlendRamp::Blend{next.gainOnlyFactor, 0.0}
                                                        : TandrelBlendRamp::Blend{stage.GetWetGain(), stage.GetDry()};
    // A switched path fades in over the old one, which plays on with the blend it had; the
    // fade covers the blend's change too.
    const bool switched = !fresh && left->pathSwitches != next.pathSwitches;
    const bool joinsAtOnce = switchFrom_ && KivCoherentFadeWeight(switchPosition_, switchLength_) <= kJoinAtOnceWeight;
    if (switched) {
        switchFrom_ = left;
        switchFromBlend_ = ramp_.Current();
        switchPosition_ = 0;
    }
    ramp_.Target(blend, fresh || switched || joinsAtOnce);
    if (switched || left == &idle_) return nullptr;
    return left;
}

TandrelPipelineSetup* TandrelDynamicsPipeline::TakeSwitchedFrom(bool now) noexcept {
    if (now && switchFrom_) {
        switchedFrom_ = switchFrom_;
        switchFrom_ = nullptr;
    }
    TandrelPipelineSetup* done = switchedFrom_;
    switchedFrom_ = nullptr;
    return done;
}

// Rings of a new size were made with the setup: they take the channels' places, and the
// memory they replace leaves with the setup that brought them.
void TandrelDynamicsPipeline::SwapInChannelMemory(TandrelPipelineSetup& next) noexcept {
    const int32_t length = next.sizes.trueRmsLength;
    for (int32_t c = 0; c < kChannels; ++c) {
        KivDynamicsProcessorFollower::ChannelState& state = states_[c];
        if (next.hasRings && state.trueRms.Length() != length) state.trueRms.Swap(next.rings[c]);
    }
}

// Leaving full link (or starting to move away from it), every channel goes on from the shared
// detector; arriving at it, the channels after the first are reset. Only the channels
// Initialize made room for: the others never play before the next Initialize resets them, and
// each costs a copy or a clearing of its true RMS ring on the audio thread.
void TandrelDynamicsPipeline::TargetLink(double target, bool immediately) noexcept {
    const bool wasFull = linkPosition_ >= linkLength_ && IsFullLink(linkTo_);
    const double current = linkPosition_ >= linkLength_ ? linkTo_
                           : linkPosition_ > 0 ? linkFrom_ + (linkTo_ - linkFrom_) * linkPosition_ / linkLength_
                                               : linkFrom_;
    linkFrom_ = immediately ? target : current;
    linkTo_ = target;
    linkPosition_ = 0;
    linkLength_ = linkFrom_ == linkTo_ ? 0 : linkRampLength_;
    const bool nowFull = linkLength_ == 0 && IsFullLink(target);
    if (wasFull != nowFull) setup_->follower.LinkChanged(reserved_, statePointers_, nowFull);
}

const double* TandrelDynamicsPipeline::LinkAmounts(int32_t count) noexcept {
    if (linkPosition_ >= linkLength_) return nullptr;
    links_.Reserve(static_cast<size_t>(count));
    FillLinkRamp(links_.Data(), count, linkPosition_, linkLength_, linkFrom_, linkTo_);
    return links_.Data();
}

void TandrelDynamicsPipeline::Advance(int32_t count) noexcept {
    ramp_.Advance(count);
    if (linkPosition_ < linkLength_) {
        linkPosition_ = std::min(linkLength_, linkPosition_ + count);
        if (linkPosition_ == linkLength_ && IsFullLink(linkTo_)) {
            setup_->follower.LinkChanged(reserved_, statePointers_, true);
        }
    }
    if (switchFrom_) {
        switchPosition_ += count;
        if (switchPosition_ >= switchLength_) {
            switchedFrom_ = switchFrom_;
            switchFrom_ = nullptr;
        }
    }
}

void TandrelDynamicsPipeline::Reset() noexcept {
    KivDynamicsProcessorFollower& follower = setup_->follower;
    for (auto& state : states_) follower.ResetChannel(state);
    for (auto& state : states_) follower.ConfigureChannel(state);
    for (int32_t c = 0; c < reserved_; ++c) delays_[c].Reset();
}

void TandrelDynamicsPipeline::Process(const float* const* inputs, float* const* outputs, int32_t count,
                                      const float* const* sideChain) {
    if (count <= 0) return;
    restarted_ = false;
    const int32_t channels = ActiveChannels();
    const float* const* given = inputs;
    // A broken sample (NaN, infinity) is played and detected as silence: passed on it would
    // reach the host's mix, and in the detector an infinite one would hold the level at its
    // ceiling for many release times after it passed.
    inputs = CleanSources(inputs, channels, count, cleanSources_, sources_);
    KivDynamicsProcessorFollower& follower = setup_->follower;
    // Detection reads the inputs before the delayed audio may overwrite them in place. It runs
    // in gain-only mode too, so that a processor switched back on finds the present level.
    // The side-chain keys the detector while the setup asks for it and the host hands one over.
    const float* const* keys = setup_->keysOnSideChain && sideChain
                                   ? CleanSources(sideChain, channels, count, cleanKeys_, keys_)
                                   : inputs;
    const bool fullyLinked = follower.Detect(statePointers_, keys, channels, count, LinkAmounts(count));
    const float* const* signals = Delay(inputs, outputs, count);
    if (setup_->gainOnly) {
        ProcessGainOnly(signals, outputs, fullyLinked, count);
        for (int32_t c = 0; c < channels; ++c) states_[c].gainReduction = 1.0;
    } else {
        ApplyGains(signals, outputs, fullyLinked, count);
        if (follower.GetSideChainPlay()) PlaySideChain(outputs, count);
        StoreGainReductions(fullyLinked);
    }
    DelayUnprocessed(given, outputs, count);
    Advance(count);
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

// Without look-ahead the gains go straight from the inputs into the outputs, sparing a copy;
// the lines still hear every block, so a look-ahead switched on reads real audio at once.
const float* const* TandrelDynamicsPipeline::Delay(const float* const* inputs, float* const* outputs,
                                                   int32_t count) noexcept {
    const bool direct = delays_[0].IsPassThrough();
    for (int32_t c = 0; c < ActiveChannels(); ++c) {
        if (direct) delays_[c].Feed(inputs[c], count);
        else delays_[c].Process(inputs[c], outputs[c], count);
    }
    return direct ? inputs : outputs;
}

// The channels a mode leaves unprocessed (the mid beside the side, the right beside the left)
// pass through their own lines, which take every delay when the processed ones take it and
// fade with them sample for sample: the pair, converted back after the effect, sums two
// signals delayed and weighted alike, which an equal-power fade keeps within sqrt(2) of the
// input. Written last, so an output the host shares with another channel keeps the processed
// signal, and skipped where the processed channels already wrote over the input.
void TandrelDynamicsPipeline::DelayUnprocessed(const float* const* inputs, float* const* outputs,
                                               int32_t count) noexcept {
    const int32_t active = ActiveChannels();
    for (int32_t c = active; c < reserved_; ++c) {
        if (!inputs[c] || !outputs[c]) continue;
        bool shared = false;
        for (int32_t p = 0; p < active; ++p) shared = shared || outputs[p] == outputs[c] || outputs[p] == inputs[c];
        if (shared) continue;
        // A broken sample (NaN, infinity) plays as silence here too.
        const float* input = inputs[c];
        if (HasBrokenSamples(input, count)) {
            cleanSources_[c].Reserve(static_cast<size_t>(count));
            float* samples = cleanSources_[c].Data();
            for (int32_t i = 0; i < count; ++i) samples[i] = std::isfinite(input[i]) ? input[i] : 0.0f;
            input = samples;
        }
        delays_[c].Process(input, outputs[c], count);
    }
}

void TandrelDynamicsPipeline::ProcessGainOnly(const float* const* signals, float* const* outputs, bool fullyLinked,
                                              int32_t count) {
    if (!ramp_.IsMoving() && !switchFrom_) {
        const float factor = static_cast<float>(setup_->gainOnlyFactor);
        for (int32_t c = 0; c < ActiveChannels(); ++c) {
            CopySamples(signals[c], outputs[c], count);
            float* output = outputs[c];
            for (int32_t i = 0; i < count; ++i) output[i] *= factor;
        }
        return;
    }
    gains_.Reserve(static_cast<size_t>(count));
    double* gains = gains_.Data();
    for (int32_t c = 0; c < ActiveChannels(); ++c) {
        // The new path's gain is the same on every channel; the old one's follows each
        // channel's envelope unless they are fully linked.
        if (c == 0 || (switchFrom_ && !fullyLinked)) {
            if (ramp_.IsMoving()) ramp_.Factors(gains, count);
            else std::fill(gains, gains + count, setup_->gainOnlyFactor);
            if (switchFrom_) MixSwitchGains(states_[fullyLinked ? 0 : c].levels.Data(), gains, count);
        }
        MultiplyInto(signals[c], gains, outputs[c], count);
    }
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

// Weights summing to 1: both paths play the same delayed audio, so the gains blend.
void TandrelDynamicsPipeline::MixSwitchGains(const double* levels, double* gains, int32_t count) noexcept {
    oldGains_.Reserve(static_cast<size_t>(count));
    double* old = oldGains_.Data();
    const TandrelPipelineSetup& from = *switchFrom_;
    if (from.gainOnly) std::fill(old, old + count, 1.0);
    else switchFrom_->gainStage.ComputeShapeGains(levels, old, count, setup_->follower.LevelsAreLogarithms());
    const double wetGain = switchFromBlend_.wetGain, dry = switchFromBlend_.dry;
    const KivFadeTable* fade = switchFade_.get();
    for (int32_t i = 0; i < count; ++i) {
        const int32_t step = std::min(switchPosition_ + i + 1, switchLength_);
        const double weight = fade ? fade->Coherent(step) : KivCoherentFadeWeight(step, switchLength_);
        gains[i] = (old[i] * wetGain + dry) * (1.0 - weight) + gains[i] * weight;
    }
}

void TandrelDynamicsPipeline::ApplyGains(const float* const* signals, float* const* outputs, bool fullyLinked,
                                         int32_t count) {
    gains_.Reserve(static_cast<size_t>(count));
    double* gains = gains_.Data();
    for (int32_t c = 0; c < ActiveChannels(); ++c) {
        // Fully linked channels share one envelope, so its gains are worked out once.
        if (c == 0 || !fullyLinked) {
            ComputeGains(states_[c].levels.Data(), gains, count);
            if (switchFrom_) MixSwitchGains(states_[c].levels.Data(), gains, count);
        }
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
