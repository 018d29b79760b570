#include "dynamics/detector/kiv_dynamics_processor_follower.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "dynamics/detector/kiv_vector_clones.h"

namespace {

constexpr double kZero = 1e-50;
constexpr double kOffset = 1e-15;
// Power is kept within [floor, largest]: the floor (amplitude 1e-15) keeps the RMS and hold
// decays from sinking into denormals during silence; the ceiling (+100 dB) and the NaN
// check keep one broken sample from poisoning the accumulators for ever.
constexpr double kPowerFloor = 1e-30;
constexpr double kLargestPower = 1e10;
constexpr int32_t kStoredDecimals = 12;
constexpr int32_t kLogarithmicShapeMode = 2;

// Stands in for a custom shape the product has not bound: a constant 1, which makes the
// custom steps behave like the plain linear and logarithmic ones.
class NeutralShape final : public KivFollowerShape {
public:
    double Value(double) noexcept override { return 1.0; }
};
NeutralShape gNeutralShape;

double OnePole(double samples) noexcept { return KivReleaseModes::Coefficient(samples); }

// Written as selects so that the loops around it vectorise.
double CleanPower(double power) noexcept {
    const double limited = power >= kLargestPower ? kLargestPower : 0.0;  // NaN counts as silence
    return power < kLargestPower ? power : limited;
}

double Square(float x) noexcept {
    const double d = x;
    return CleanPower(d * d);
}

KIV_VECTOR_CLONES void Roots(double* buffer, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) buffer[i] = std::sqrt(buffer[i]) + kOffset;
}

KIV_VECTOR_CLONES void FloorAtZero(double* buffer, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) buffer[i] = std::max(buffer[i], 0.0);
}

KIV_VECTOR_CLONES void StereoPower(double* p, const float* left, const float* right, int32_t count,
                                   double scale) noexcept {
    for (int32_t i = 0; i < count; ++i) p[i] = scale * (Square(left[i]) + Square(right[i])) + kPowerFloor;
}

void StoreFlag(KivXMLItem& item, const char* name, bool& flag, bool storing, bool absent) {
    const KivString key(name);
    if (storing) {
        item.SetAttribute(key, KivString(flag ? "1" : "0"));
    } else {
        flag = item.HasAttribute(key) ? KivNumber::TextToInteger(item.GetAttribute()) != 0 : absent;
    }
}

}  // namespace

KivDynamicsProcessorFollower::KivDynamicsProcessorFollower()
    : customAttack_(&gNeutralShape), customRelease_(&gNeutralShape) {
    processor_.Select(KivAttackReleaseMode::kFast, KivAttackReleaseMode::kFast);
}

void KivDynamicsProcessorFollower::ApplySettings(Settings& s) {
    s.trueRMS = trueRMSSetting_;
    sampleRate_ = s.sampleRate;
    inputGain_ = s.inputGain;
    trueRMS_ = s.trueRMS;
    rmsSamples_ = s.rmsLength * s.sampleRate;
    peakMode_ = std::fabs(rmsSamples_) <= kZero;
    if (!peakMode_ && !trueRMS_) {
        rmsDecay_ = std::exp(-1.0 / rmsSamples_);
        rmsWeight_ = 1.0 - rmsDecay_;
    }
    holdDecay_ = s.peakHold > 0.0 ? OnePole(s.peakHold * s.sampleRate) : 0.0;
    attackCoefficient_ = OnePole(s.attack * s.sampleRate);
    releaseMode_ = s.releaseMode;
    releaseCoefficient_ = OnePole(s.release * s.sampleRate);
    releaseModeUpdate_ = KivReleaseModes::Prepare(s.releaseMode, s.attack, s.release, s.autoSpeed,
                                                  s.lowestThreshold, s.sampleRate, releaseModeBlock_);
    processor_.Select(s.attackShape, s.releaseShape);
    // A logarithmic transfer shape wants the envelopes' logarithms; a logarithmic release
    // has most of them already.
    logarithmicLevels_ = s.shapeMode == kLogarithmicShapeMode && processor_.HasLogarithmicRelease();
    filter_.Design(s.sampleRate);
    detectorFromSecondary_ = sideChainSecondary_;
}

void KivDynamicsProcessorFollower::ConfigureChannel(ChannelState& state) {
    state.envelope.stepCounter = 0;
    state.follower = this;
    const int32_t length = TrueRmsLength();
    if (length > 0 && length != state.trueRms.Length()) state.trueRms.Build(length);
    if (releaseMode_ == KivReleaseMode::kManual) state.envelope.release.releaseCoefficient = releaseCoefficient_;
}

int32_t KivDynamicsProcessorFollower::TrueRmsLength() const noexcept {
    return trueRMS_ && !peakMode_ ? std::max(1, static_cast<int32_t>(rmsSamples_)) : 0;
}

void KivDynamicsProcessorFollower::ResetChannel(ChannelState& state) noexcept {
    state.rmsAccumulator = 0.0;
    state.envelope.envelope = kOffset;
    state.atRest = true;
    state.blockMaximum = 0.0;
    state.envelope.release = {0.0, 0.0};
    state.envelope.stepCounter = 0;
    state.gainReduction = 1.0;
    state.filter.Clear();
    state.trueRms.Clear();
}

void KivDynamicsProcessorFollower::LinkChanged(int32_t channelCount, ChannelState* const* states) noexcept {
    LinkChanged(channelCount, states, std::fabs(linkAmount_ - 1.0) <= kZero);
}

void KivDynamicsProcessorFollower::LinkChanged(int32_t channelCount, ChannelState* const* states,
                                               bool fullyLinked) noexcept {
    for (int32_t i = 1; i < channelCount; ++i) {
        if (fullyLinked) {
            ResetChannel(*states[i]);
        } else {
            // Each channel goes on from where the shared detector was, without a jump: the
            // envelope with its release state and the averages that feed it (only the first
            // channel's ran while the channels were fully linked).
            states[i]->envelope = states[0]->envelope;
            states[i]->atRest = states[0]->atRest;
            states[i]->rmsAccumulator = states[0]->rmsAccumulator;
            states[i]->trueRms.CopyFrom(states[0]->trueRms);
        }
    }
}

void KivDynamicsProcessorFollower::SetCustomShapes(KivFollowerShape* attack, KivFollowerShape* release) noexcept {
    customAttack_ = attack != nullptr ? attack : &gNeutralShape;
    customRelease_ = release != nullptr ? release : &gNeutralShape;
}

// The RMS stage keeps its running values sample by sample; the peak-hold floor and the
// square roots follow as passes of their own over the block.
void KivDynamicsProcessorFollower::RmsAndRoot(ChannelState& state, double* buffer, int32_t count) const noexcept {
    if (peakMode_) {
        HoldFloor(state, buffer, count);
    } else if (trueRMS_) {
        state.trueRms.AverageBlock(buffer, count);
        HoldFloor(state, buffer, count);
    } else {
        // The simple average goes on from the held value, so both stay in one loop.
        const double h = holdDecay_, u = rmsDecay_, w = rmsWeight_;
        double s = state.rmsAccumulator;
        for (int32_t i = 0; i < count; ++i) buffer[i] = s = std::max(u * s + w * buffer[i], h * s);
        state.rmsAccumulator = s;
    }
    Roots(buffer, count);
}

// s = max(measure, h * previous s). Without hold (h = 0) the floor is 0 for every sample
// (h * s is +0 for the finite, non-negative s the stage produces), so it runs element-wise.
void KivDynamicsProcessorFollower::HoldFloor(ChannelState& state, double* buffer, int32_t count) const noexcept {
    const double h = holdDecay_;
    double s = state.rmsAccumulator;
    if (h == 0.0) {
        FloorAtZero(buffer, count);
        if (count > 0) s = buffer[count - 1];
    } else {
        for (int32_t i = 0; i < count; ++i) buffer[i] = s = std::max(buffer[i], h * s);
    }
    state.rmsAccumulator = s;
}

KivEnvelopeContext KivDynamicsProcessorFollower::EnvelopeContext() noexcept {
    return {attackCoefficient_, customAttack_, customRelease_, releaseModeUpdate_, &releaseModeBlock_,
            logarithmicLevels_};
}

// Renders must not depend on how much audio came before them or on where the blocks fall,
// so nothing here runs once per block and exact silence does not age a fresh state: while a
// channel is at rest (reset and silent since), its leading silent samples are skipped and
// read the rest envelope, and the averages, the ring positions and the release-mode step
// counter wait for the first sound. (Adding 1e-15 to the envelope once per block, as the
// detector once did, made every block boundary a tiny step; the reset envelope of 1e-15 and
// the 1e-15 on every detector value keep the envelope away from zero instead.)
void KivDynamicsProcessorFollower::Follow(ChannelState& state, double* buffer, int32_t count) noexcept {
    int32_t resting = 0;
    if (state.atRest) {
        while (resting < count && buffer[resting] == kPowerFloor) ++resting;
        const double e = state.envelope.envelope;
        const double level = logarithmicLevels_ ? std::log(e) : e;
        for (int32_t i = 0; i < resting; ++i) buffer[i] = level;
        state.blockMaximum = e;
        if (resting == count) return;
        state.atRest = false;
    }
    RmsAndRoot(state, buffer + resting, count - resting);
    const double largest = processor_.Run(state.envelope, buffer + resting, count - resting, EnvelopeContext());
    state.blockMaximum = resting > 0 ? std::max(largest, state.blockMaximum) : largest;
}

const float* KivDynamicsProcessorFollower::DetectorSignal(ChannelState& state, const float* source,
                                                          int32_t count) noexcept {
    if (!filter_.IsAnyStageActive() && !sideChainPlay_) return source;
    state.scratch.Reserve(static_cast<size_t>(count));
    filter_.Run(state.filter, source, state.scratch.Data(), count);
    return state.scratch.Data();
}

// Channel by channel over the block, so each pass runs as vector operations (a stereo pair
// in one pass); the sums add up in the same order as sample by sample from 0.
void KivDynamicsProcessorFollower::LinkedPower(double* p, const float* const* x, int32_t channels, int32_t count,
                                               double scale) noexcept {
    if (channels == 2) {
        StereoPower(p, x[0], x[1], count, scale);
        return;
    }
    for (int32_t i = 0; i < count; ++i) p[i] = Square(x[0][i]);
    for (int32_t c = 1; c < channels; ++c) {
        const float* signal = x[c];
        for (int32_t i = 0; i < count; ++i) p[i] += Square(signal[i]);
    }
    for (int32_t i = 0; i < count; ++i) p[i] = scale * p[i] + kPowerFloor;
}

bool KivDynamicsProcessorFollower::ComputePower(ChannelState* const* states, const float* const* x,
                                                int32_t channels, int32_t count, const double* links) noexcept {
    const double g2 = inputGain_ * inputGain_;
    const double link = linkAmount_;
    const bool fullyLinked = !links && std::fabs(link - 1.0) <= kZero && channels > 1;
    for (int32_t c = 0; c < (fullyLinked ? 1 : channels); ++c) states[c]->levels.Reserve(static_cast<size_t>(count));
    if (links && channels > 1) {
        MovingLinkPower(states, x, channels, count, links, g2);
        return false;
    }
    if (fullyLinked) {
        LinkedPower(states[0]->levels.Data(), x, channels, count, g2 / channels);
        return true;
    }
    if (std::fabs(link) <= kZero || channels == 1) {
        for (int32_t c = 0; c < channels; ++c) {
            double* p = states[c]->levels.Data();
            for (int32_t i = 0; i < count; ++i) p[i] = g2 * Square(x[c][i]) + kPowerFloor;
        }
        return false;
    }
    // (1 - L + L/N) x_i^2 + (L/N) sum over the others = (1 - L) x_i^2 + (L/N) sum over all.
    const double own = g2 * (1.0 - link), shared = g2 * link / channels;
    for (int32_t i = 0; i < count; ++i) {
        double sum = 0.0;
        for (int32_t c = 0; c < channels; ++c) sum += Square(x[c][i]);
        for (int32_t c = 0; c < channels; ++c) {
            states[c]->levels[i] = own * Square(x[c][i]) + shared * sum + kPowerFloor;
        }
    }
    return false;
}

// The partial link's power with the amount L moving sample by sample.
void KivDynamicsProcessorFollower::MovingLinkPower(ChannelState* const* states, const float* const* x,
                                                   int32_t channels, int32_t count, const double* links,
                                                   double g2) noexcept {
    for (int32_t i = 0; i < count; ++i) {
        double sum = 0.0;
        for (int32_t c = 0; c < channels; ++c) sum += Square(x[c][i]);
        const double own = g2 * (1.0 - links[i]), shared = g2 * links[i] / channels;
        for (int32_t c = 0; c < channels; ++c) {
            states[c]->levels[i] = own * Square(x[c][i]) + shared * sum + kPowerFloor;
        }
    }
}

bool KivDynamicsProcessorFollower::Detect(ChannelState* const* states, const float* const* sources,
                                          int32_t channels, int32_t count, const double* links) {
    channels = std::min(channels, kChannelCount);
    const float* signals[kChannelCount];
    for (int32_t c = 0; c < channels; ++c) signals[c] = DetectorSignal(*states[c], sources[c], count);
    const bool fullyLinked = ComputePower(states, signals, channels, count, links);
    for (int32_t c = 0; c < (fullyLinked ? 1 : channels); ++c) Follow(*states[c], states[c]->levels.Data(), count);
    return fullyLinked;
}

void KivDynamicsProcessorFollower::Store(KivXMLItem& item, bool storing) {
    const KivString linkKey("LinkChannels"), lookAheadKey("LookAheadDelay");
    if (storing) {
        item.SetAttribute(linkKey, KivNumber::DoubleToText(linkAmount_, kStoredDecimals));
    } else if (item.HasAttribute(linkKey)) {
        linkAmount_ = KivNumber::TextToDouble(item.GetAttribute());
    }
    StoreFlag(item, "SideChainPlay", sideChainPlay_, storing, false);
    StoreFlag(item, "SideChainSecondaryChannel", sideChainSecondary_, storing, false);
    if (storing) {
        item.SetAttribute(lookAheadKey, KivNumber::IntegerToText(lookAhead_));
    } else if (item.HasAttribute(lookAheadKey)) {
        lookAhead_ = static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute()));
    }
    StoreFlag(item, "TrueRMS", trueRMSSetting_, storing, false);
    filter_.Store(item, storing);
}
