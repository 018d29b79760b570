#include "dynamics/detector/kiv_detector_filter.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "dynamics/detector/filters/kiv_biquad_design.h"

namespace {

constexpr float kOffset = 1e-15f;
// Largest magnitude the detector takes seriously: +100 dB full scale.
constexpr float kLargestSample = 1e5f;
constexpr double kOpenLowPass = 20000.0;
constexpr double kOpenHighPass = 20.0;
constexpr double kTuningTolerance = 1.0;
constexpr double kSplitterGain = 0.70710678;
constexpr double kSmoothingScale = 0.35355338;

float Cleaned(float x) noexcept {
    if (x >= -kLargestSample && x <= kLargestSample) return x;
    if (x > kLargestSample) return kLargestSample;
    return x < -kLargestSample ? -kLargestSample : 0.0f;  // NaN reads as silence
}

template <int32_t N>
void RunCascade(const KivBiquadCoefficients (&c)[N], KivBiquadState (&s)[N], float* data, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) {
        double y = data[i];
        for (int32_t k = 0; k < N; ++k) y = s[k].Step(c[k], y);
        data[i] = static_cast<float>(y) + kOffset;
    }
}

void RunSection(const KivBiquadCoefficients& c, KivBiquadState& s, float* data, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) data[i] = static_cast<float>(s.Step(c, data[i])) + kOffset;
}

// The four-phase magnitude of the split signal: |A|, |B| and the two 45-degree mixes, which
// for a sine at any phase add up to nearly its amplitude.
void RunSmoothing(const KivPhaseSplitter& design, KivPhaseSplitterState& s, float* data, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) {
        double a, b;
        s.Step(design, data[i], a, b);
        const double ma = kSplitterGain * a, mb = kSplitterGain * b;
        const double sum = std::fabs(ma + mb) + std::fabs(ma - mb) + std::fabs(a) + std::fabs(b);
        data[i] = static_cast<float>(sum * kSmoothingScale) + kOffset;
    }
}

}  // namespace

void KivDetectorFilterState::Clear() noexcept {
    for (KivBiquadState& s : weighting) s.Clear();
    lowPass.Clear();
    highPass.Clear();
    for (KivBiquadState& s : equalizer) s.Clear();
    splitter.Clear();
}

void KivDetectorFilter::MarkStarts(const bool (&wasActive)[kKivStageCount], bool newRate) noexcept {
    for (int32_t stage = 0; stage < kKivStageCount; ++stage) {
        if (active_[stage] && (newRate || !wasActive[stage])) ++starts_[stage];
    }
}

void KivDetectorFilter::Design(double sampleRate) noexcept {
    const KivDetectorFilterSettings& s = settings;
    bool wasActive[kKivStageCount];
    std::copy(std::begin(active_), std::end(active_), wasActive);
    const bool newRate = sampleRate != designRate_;
    designRate_ = sampleRate;
    active_[kKivStageWeighting] = s.psychoAcoustic;
    active_[kKivStageLowPass] =
        s.enabledSideChain && s.lowPass && std::fabs(s.maxFrequency - kOpenLowPass) >= kTuningTolerance;
    active_[kKivStageHighPass] =
        s.enabledSideChain && s.highPass && std::fabs(kOpenHighPass - s.minFrequency) >= kTuningTolerance;
    active_[kKivStageEqualizer] = s.equalizerEnabled;
    active_[kKivStageSmoothing] = s.spectralSmoothing;
    MarkStarts(wasActive, newRate);

    // The weighting and the phase splitter depend on the rate alone.
    if (newRate) {
        weighting_.Design(sampleRate);
        splitter_.Design(sampleRate);
    }
    lowPass_ = KivBiquadDesign::LowPass(s.maxFrequency, s.lowPassQuality, sampleRate);
    highPass_ = KivBiquadDesign::HighPass(s.minFrequency, s.highPassQuality, sampleRate);
    s.equalizer.Design(sampleRate, equalizer_);
}

bool KivDetectorFilter::IsAnyStageActive() const noexcept {
    for (bool a : active_) {
        if (a) return true;
    }
    return false;
}

double KivDetectorFilter::MagnitudeAt(double frequency) const noexcept {
    if (designRate_ <= 0.0) return 1.0;
    const double omega = 2.0 * std::numbers::pi * frequency / designRate_;
    double magnitude = 1.0;
    auto through = [&](const KivBiquadCoefficients& section) { magnitude *= KivBiquadResponseAt(section, omega).magnitude; };
    if (active_[kKivStageWeighting]) {
        for (const KivBiquadCoefficients& section : weighting_.sections) through(section);
    }
    if (active_[kKivStageLowPass]) through(lowPass_);
    if (active_[kKivStageHighPass]) through(highPass_);
    if (active_[kKivStageEqualizer]) {
        for (const KivBiquadCoefficients& section : equalizer_) through(section);
    }
    return magnitude;
}

void KivDetectorFilter::Run(KivDetectorFilterState& state, const float* source, float* out,
                            int32_t count) const noexcept {
    for (int32_t i = 0; i < count; ++i) out[i] = Cleaned(source[i]) + kOffset;
    for (int32_t stage = 0; stage < kKivStageCount; ++stage) {
        if (!active_[stage]) continue;
        if (state.starts[stage] != starts_[stage]) {
            // A stage that starts begins from rest; a retuned one keeps its memory.
            state.starts[stage] = starts_[stage];
            switch (stage) {
                case kKivStageWeighting: for (KivBiquadState& s : state.weighting) s.Clear(); break;
                case kKivStageLowPass: state.lowPass.Clear(); break;
                case kKivStageHighPass: state.highPass.Clear(); break;
                case kKivStageEqualizer: for (KivBiquadState& s : state.equalizer) s.Clear(); break;
                default: state.splitter.Clear(); break;
            }
        }
        switch (stage) {
            case kKivStageWeighting: RunCascade(weighting_.sections, state.weighting, out, count); break;
            case kKivStageLowPass: RunSection(lowPass_, state.lowPass, out, count); break;
            case kKivStageHighPass: RunSection(highPass_, state.highPass, out, count); break;
            case kKivStageEqualizer: RunCascade(equalizer_, state.equalizer, out, count); break;
            default: RunSmoothing(splitter_, state.splitter, out, count); break;
        }
    }
}

namespace {

constexpr int32_t kStoredDecimals = 12;

void StoreFlag(KivXMLItem& item, const char* name, bool& flag, bool storing) {
    const KivString key(name);
    if (storing) {
        item.SetAttribute(key, KivString(flag ? "1" : "0"));
    } else if (item.HasAttribute(key)) {
        flag = KivNumber::TextToInteger(item.GetAttribute()) != 0;
    }
}

// A switch whose key older states lack: absent reads as `absent`, not as what was there.
void StoreNewerFlag(KivXMLItem& item, const char* name, bool& flag, bool storing, bool absent) {
    if (!storing && !item.HasAttribute(KivString(name))) flag = absent;
    else StoreFlag(item, name, flag, storing);
}

void StoreNumber(KivXMLItem& item, const char* name, double& value, bool storing) {
    const KivString key(name);
    if (storing) {
        item.SetAttribute(key, KivNumber::DoubleToText(value, kStoredDecimals));
    } else if (item.HasAttribute(key)) {
        value = KivNumber::TextToDouble(item.GetAttribute());
    }
}

}  // namespace

void KivDetectorFilter::Store(KivXMLItem& item, bool storing) {
    KivDetectorFilterSettings& s = settings;
    StoreFlag(item, "EnabledSideChain", s.enabledSideChain, storing);
    StoreNewerFlag(item, "SideChainHighPass", s.highPass, storing, true);
    StoreNewerFlag(item, "SideChainLowPass", s.lowPass, storing, true);
    StoreNumber(item, "SideChainMinF", s.minFrequency, storing);
    StoreNumber(item, "SideChainMaxF", s.maxFrequency, storing);
    StoreNumber(item, "SideChainResonance", s.lowPassQuality, storing);
    StoreNumber(item, "SideChainMaxQ", s.highPassQuality, storing);
    StoreFlag(item, "DynamicsPsychoAcousticPrefiltering", s.psychoAcoustic, storing);
    StoreFlag(item, "ThreePhaseFiltering", s.spectralSmoothing, storing);
    StoreFlag(item, "SideChainEqEnabled", s.equalizerEnabled, storing);
    const KivString equalizerKey("SideChainEq");
    if (item.HasSubItem(equalizerKey)) {
        s.equalizer.Store(item.GetSubItem(), storing);
    } else if (storing) {
        s.equalizer.Store(item.AddSubItem(equalizerKey), storing);
    }
}
