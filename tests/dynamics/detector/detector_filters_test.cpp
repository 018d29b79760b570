#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "dynamics/detector/filters/kiv_biquad_design.h"
#include "dynamics/detector/filters/kiv_loudness_weighting.h"
#include "dynamics/detector/filters/kiv_phase_splitter.h"
#include "dynamics/detector/filters/kiv_side_chain_equalizer.h"
#include "dynamics/detector/kiv_detector_filter.h"

namespace {

constexpr double kRates[] = {44100.0, 48000.0, 96000.0};

double Omega(double f, double rate) { return 2 * std::numbers::pi * f / rate; }

template <int N>
KivBiquadResponse Cascade(const KivBiquadCoefficients (&c)[N], double omega) {
    KivBiquadResponse r{1.0, 0.0};
    for (const auto& s : c) {
        const KivBiquadResponse one = KivBiquadResponseAt(s, omega);
        r.magnitude *= one.magnitude;
        r.phase += one.phase;
    }
    return r;
}

// ISO 226:2003 sound pressure level of the 40-phon contour at its tabulated frequencies.
constexpr double kIsoF[] = {20,  25,  31.5, 40,   50,   63,   80,   100,  125,  160,  200,  250,  315,  400,  500,
                            630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500};
constexpr double kIsoAf[] = {0.532, 0.506, 0.480, 0.455, 0.432, 0.409, 0.387, 0.367, 0.349, 0.330,
                             0.315, 0.301, 0.288, 0.276, 0.267, 0.259, 0.253, 0.250, 0.246, 0.244,
                             0.243, 0.243, 0.243, 0.242, 0.242, 0.245, 0.254, 0.271, 0.301};
constexpr double kIsoLu[] = {-31.6, -27.2, -23.0, -19.1, -15.9, -13.0, -10.3, -8.1, -6.2, -4.5,
                             -3.1,  -2.0,  -1.1,  -0.4,  0.0,   0.3,   0.5,   0.0,  -2.7, -4.1,
                             -1.0,  1.7,   2.5,   1.2,   -2.1,  -7.1,  -11.2, -10.7, -3.1};
constexpr double kIsoTf[] = {78.5, 68.7, 59.5, 51.1, 44.0, 37.5, 31.5, 26.5, 22.1, 17.9, 14.4, 11.4, 8.6, 6.2, 4.4,
                             3.0,  2.2,  2.4,  3.5,  1.7,  -1.3, -4.2, -6.0, -5.4, -1.5, 6.0,  12.6, 13.9, 12.3};

double Contour40(int i) {
    const double af = kIsoAf[i];
    const double a = 4.47e-3 * (std::pow(10.0, 0.025 * 40) - 1.15) +
                     std::pow(0.4 * std::pow(10.0, (kIsoTf[i] + kIsoLu[i]) / 10 - 9), af);
    return 10 / af * std::log10(a) - kIsoLu[i] + 94;
}

}  // namespace

// The outputs stay within 1 degree of quadrature over 20 Hz .. 20 kHz (400 frequencies).
TEST(PhaseSplitter, ChainsStayInQuadratureAcrossTheAudioBand) {
    for (double rate : kRates) {
        KivPhaseSplitter splitter;
        splitter.Design(rate);
        double worst = 0.0;
        for (int i = 0; i <= 400; ++i) {
            const double f = 20.0 * std::pow(1000.0, i / 400.0);
            const KivBiquadResponse a = Cascade(splitter.chainA, Omega(f, rate));
            const KivBiquadResponse b = Cascade(splitter.chainB, Omega(f, rate));
            EXPECT_NEAR(a.magnitude, 1.0, 1e-9);
            EXPECT_NEAR(b.magnitude, 1.0, 1e-9);
            const double difference = std::remainder(a.phase - b.phase, 2 * std::numbers::pi);
            worst = std::max(worst, std::fabs(std::fabs(difference) * 180 / std::numbers::pi - 90.0));
        }
        EXPECT_LT(worst, 1.0) << rate;
    }
}

// In the time domain A^2 + B^2 of a sine is flat: the smoothing sum reads the amplitude.
TEST(PhaseSplitter, SineMagnitudeIsSmooth) {
    KivPhaseSplitter splitter;
    splitter.Design(48000.0);
    KivPhaseSplitterState state;
    double lowest = 1e9, highest = 0.0;
    for (int i = 0; i < 48000; ++i) {
        double a, b;
        state.Step(splitter, std::sin(Omega(100.0, 48000.0) * i), a, b);
        if (i < 24000) continue;
        lowest = std::min(lowest, a * a + b * b);
        highest = std::max(highest, a * a + b * b);
    }
    EXPECT_GT(lowest, 0.99);
    EXPECT_LT(highest, 1.01);
}

// Against the inverse 40-phon contour at the 29 frequencies of the standard, 0 dB at 1 kHz.
TEST(LoudnessWeighting, FollowsThe40PhonContour) {
    for (double rate : kRates) {
        KivLoudnessWeighting weighting;
        weighting.Design(rate);
        double worst = 0.0;
        for (int i = 0; i < 29; ++i) {
            const double target = 40.0 - Contour40(i);
            const double response = 20 * std::log10(Cascade(weighting.sections, Omega(kIsoF[i], rate)).magnitude);
            worst = std::max(worst, std::fabs(response - target));
        }
        EXPECT_LT(worst, 0.6) << rate;
        EXPECT_NEAR(Cascade(weighting.sections, Omega(1000.0, rate)).magnitude, 1.0, 1e-12);
    }
    EXPECT_NEAR(Contour40(0), 99.85, 0.01);  // the table itself: 20 Hz needs about 100 dB
}

TEST(SideChainFilters, CookbookSectionsMeetTheirCorners) {
    const double rate = 48000.0;
    // Q 0.707 low-pass: -3 dB at the corner; Q 0.5 high-pass: -6 dB at the corner.
    EXPECT_NEAR(KivBiquadResponseAt(KivBiquadDesign::LowPass(5000, 0.707, rate), Omega(5000, rate)).magnitude,
                0.707, 1e-3);
    EXPECT_NEAR(KivBiquadResponseAt(KivBiquadDesign::HighPass(100, 0.5, rate), Omega(100, rate)).magnitude, 0.5,
                1e-3);
    KivSideChainEqualizer eq;
    KivBiquadCoefficients sections[KivSideChainEqualizer::kBandCount];
    eq.Design(rate, sections);
    EXPECT_NEAR(Cascade(sections, Omega(777, rate)).magnitude, 1.0, 1e-12);  // flat by default
    eq.bands[2].gainDecibels = -12.0;
    eq.bands[0].gainDecibels = 6.0;
    eq.bands[5].gainDecibels = -6.0;
    eq.Design(rate, sections);
    EXPECT_NEAR(20 * std::log10(KivBiquadResponseAt(sections[2], Omega(1000, rate)).magnitude), -12.0, 1e-9);
    EXPECT_NEAR(20 * std::log10(KivBiquadResponseAt(sections[0], Omega(1, rate)).magnitude), 6.0, 0.01);
    EXPECT_NEAR(20 * std::log10(KivBiquadResponseAt(sections[5], Omega(23900, rate)).magnitude), -6.0, 0.01);
}

// A band dragged up while a tone at its centre plays: 1 kHz at 48 kHz, amplitude 0.25, the
// peak band at 1 kHz (Q 2) raised from +6 to +12 dB by a quarter decibel every 10 ms block,
// as a mouse drag designs it anew for every block. The peak of every period of the output
// stays at or above the closed-form steady amplitude of the gain before the step (0.25 x
// 10^(g/20), exact at the centre of a cookbook peak) and never above that of the gain after
// it. A filter that started each new design from rest would drop to about its unit-gain path
// (1.05 x the input here) at every step. Switched off and on again, the stage starts as a
// newly made filter does, not from the memory it had when it was switched off.
TEST(DetectorFilter, ARetunedFilterCarriesOnAndASwitchedOnOneStartsFromRest) {
    const double rate = 48000.0, amplitude = 0.25;
    constexpr int32_t kBlock = 480, kPeriod = 48;
    KivDetectorFilter filter;
    filter.settings.equalizerEnabled = true;
    filter.settings.equalizer.bands[2] = {1000.0, 2.0, 6.0};
    filter.Design(rate);
    KivDetectorFilterState state;
    int64_t position = 0;
    std::vector<float> in(kBlock), out(kBlock);
    auto block = [&](KivDetectorFilter& f, KivDetectorFilterState& s) {
        for (int32_t i = 0; i < kBlock; ++i)
            in[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * 1000.0 * (position + i) / rate));
        position += kBlock;
        f.Run(s, in.data(), out.data(), kBlock);
    };
    auto steady = [&](double decibels) { return amplitude * std::pow(10.0, decibels / 20.0); };
    for (int i = 0; i < 100; ++i) block(filter, state);
    EXPECT_NEAR(*std::max_element(out.begin(), out.end()), steady(6.0), steady(6.0) * 2e-3);

    for (double gain = 6.25; gain <= 12.0; gain += 0.25) {
        filter.settings.equalizer.bands[2].gainDecibels = gain;
        filter.Design(rate);
        block(filter, state);
        for (int32_t period = 0; period < kBlock / kPeriod; ++period) {
            const float* p = out.data() + period * kPeriod;
            const double peak = *std::max_element(p, p + kPeriod);
            ASSERT_GE(peak, steady(gain - 0.25) * (1 - 2e-3)) << gain << " dB, period " << period;
            ASSERT_LE(peak, steady(gain) * (1 + 2e-3)) << gain << " dB, period " << period;
        }
    }

    filter.settings.equalizerEnabled = false;
    filter.Design(rate);
    for (int i = 0; i < 3; ++i) block(filter, state);
    filter.settings.equalizerEnabled = true;
    filter.Design(rate);
    KivDetectorFilter fresh;
    fresh.settings = filter.settings;
    fresh.Design(rate);
    KivDetectorFilterState freshState;
    const int64_t at = position;
    block(filter, state);
    const std::vector<float> switchedOn = out;
    position = at;
    block(fresh, freshState);
    EXPECT_EQ(switchedOn, out);
}
