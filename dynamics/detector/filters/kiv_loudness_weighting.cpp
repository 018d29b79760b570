#include "dynamics/detector/filters/kiv_loudness_weighting.h"

#include <numbers>

#include "dynamics/detector/filters/kiv_biquad_design.h"

namespace {

// One fitted analogue section (Hz and quality factors); a zero frequency of 0 is a
// second-order high-pass.
struct AnalogueSection {
    double zeroFrequency, zeroQuality, poleFrequency, poleQuality;
};

constexpr AnalogueSection kSections[KivLoudnessWeighting::kSectionCount] = {
    {0.0, 1.0, 107.097036, 0.415324},            // the steep fall below 100 Hz
    {115.645853, 0.00914080, 1183.257056, 1.047396},  // the gentler slope up to 1 kHz
    {1431.864354, 2.113836, 3763.692464, 1.108759},    // presence rise around 3 kHz
    {9120.341185, 1.759689, 7296.592227, 0.205842},    // dip near 10 kHz, partial recovery above
};

constexpr double kReferenceFrequency = 1000.0;

}  // namespace

void KivLoudnessWeighting::Design(double sampleRate) noexcept {
    double gainAtReference = 1.0;
    for (int32_t i = 0; i < kSectionCount; ++i) {
        const AnalogueSection& s = kSections[i];
        sections[i] = KivBiquadDesign::Bilinear(s.zeroFrequency, s.zeroQuality, s.poleFrequency, s.poleQuality,
                                                sampleRate);
        gainAtReference *=
            KivBiquadResponseAt(sections[i], 2.0 * std::numbers::pi * kReferenceFrequency / sampleRate).magnitude;
    }
    // 0 dB at 1 kHz: levels there read the same with or without the weighting.
    KivBiquadCoefficients& first = sections[0];
    first.b0 /= gainAtReference;
    first.b1 /= gainAtReference;
    first.b2 /= gainAtReference;
}
