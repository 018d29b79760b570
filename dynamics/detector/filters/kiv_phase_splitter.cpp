#include "dynamics/detector/filters/kiv_phase_splitter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "dynamics/detector/filters/kiv_biquad_design.h"

namespace {

constexpr int32_t kPoleCount = 4 * KivPhaseSplitter::kSectionsPerChain;

// The lower half of the prototype's poles (the upper half are their reciprocals).
constexpr double kLowerPoles[kPoleCount / 2] = {0.00446298196806405, 0.0151563808851631, 0.031842804717389,
                                                0.0611020940800217,  0.114470017568951,  0.212992247639599,
                                                0.395526950016638,   0.734078916935049};

constexpr double kLowestFrequency = 20.0;
constexpr double kHighestFrequency = 20000.0;
constexpr double kHighestFraction = 0.45;

double PrototypePole(int32_t index) noexcept {
    return index < kPoleCount / 2 ? kLowerPoles[index] : 1.0 / kLowerPoles[kPoleCount - 1 - index];
}

// Bilinear transform with s = (1 - z^-1)/(1 + z^-1): analogue frequency tan(pi f / rate).
double WarpedFrequency(double frequency, double sampleRate) noexcept {
    return std::tan(std::numbers::pi * frequency / sampleRate);
}

}  // namespace

void KivPhaseSplitter::Design(double sampleRate) noexcept {
    const double low = WarpedFrequency(kLowestFrequency, sampleRate);
    const double high = WarpedFrequency(std::min(kHighestFrequency, kHighestFraction * sampleRate), sampleRate);
    const double centre = std::sqrt(low * high);
    double c[kPoleCount];
    for (int32_t i = 0; i < kPoleCount; ++i) {
        const double a = centre * PrototypePole(i);
        c[i] = (a - 1.0) / (a + 1.0);
    }
    // Poles alternate between the chains in ascending order: 0, 2, 4, ... to A; 1, 3, ... to B.
    for (int32_t s = 0; s < kSectionsPerChain; ++s) {
        chainA[s] = KivBiquadDesign::AllPassPair(c[4 * s], c[4 * s + 2]);
        chainB[s] = KivBiquadDesign::AllPassPair(c[4 * s + 1], c[4 * s + 3]);
    }
}

void KivPhaseSplitterState::Clear() noexcept {
    for (KivBiquadState& s : a) s.Clear();
    for (KivBiquadState& s : b) s.Clear();
}

void KivPhaseSplitterState::Step(const KivPhaseSplitter& design, double x, double& outA, double& outB) noexcept {
    double ya = x, yb = x;
    for (int32_t s = 0; s < KivPhaseSplitter::kSectionsPerChain; ++s) {
        ya = a[s].Step(design.chainA[s], ya);
        yb = b[s].Step(design.chainB[s], yb);
    }
    outA = ya;
    outB = yb;
}
