#include "dynamics/detector/filters/kiv_biquad_design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Highest design frequency as a fraction of the sample rate: just below Nyquist.
constexpr double kHighestFraction = 0.49;

double Omega(double frequency, double sampleRate) noexcept {
    return 2.0 * std::numbers::pi * std::clamp(frequency, 1e-3, kHighestFraction * sampleRate) / sampleRate;
}

KivBiquadCoefficients Normalised(double b0, double b1, double b2, double a0, double a1, double a2) noexcept {
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

// Pre-warped angular frequency of the analogue prototype for the bilinear transform with
// s = 2 rate (1 - z^-1) / (1 + z^-1).
double Warped(double frequency, double sampleRate) noexcept {
    const double f = std::min(frequency, kHighestFraction * sampleRate);
    return 2.0 * sampleRate * std::tan(std::numbers::pi * f / sampleRate);
}

}  // namespace

namespace KivBiquadDesign {

KivBiquadCoefficients LowPass(double frequency, double quality, double sampleRate) noexcept {
    const double w = Omega(frequency, sampleRate), cw = std::cos(w), alpha = std::sin(w) / (2.0 * quality);
    return Normalised((1 - cw) / 2, 1 - cw, (1 - cw) / 2, 1 + alpha, -2 * cw, 1 - alpha);
}

KivBiquadCoefficients HighPass(double frequency, double quality, double sampleRate) noexcept {
    const double w = Omega(frequency, sampleRate), cw = std::cos(w), alpha = std::sin(w) / (2.0 * quality);
    return Normalised((1 + cw) / 2, -(1 + cw), (1 + cw) / 2, 1 + alpha, -2 * cw, 1 - alpha);
}

KivBiquadCoefficients Peak(double frequency, double quality, double gainDecibels, double sampleRate) noexcept {
    const double w = Omega(frequency, sampleRate), cw = std::cos(w), alpha = std::sin(w) / (2.0 * quality);
    const double a = std::pow(10.0, gainDecibels / 40.0);
    return Normalised(1 + alpha * a, -2 * cw, 1 - alpha * a, 1 + alpha / a, -2 * cw, 1 - alpha / a);
}

KivBiquadCoefficients LowShelf(double frequency, double quality, double gainDecibels, double sampleRate) noexcept {
    const double w = Omega(frequency, sampleRate), cw = std::cos(w), alpha = std::sin(w) / (2.0 * quality);
    const double a = std::pow(10.0, gainDecibels / 40.0), root = 2 * std::sqrt(a) * alpha;
    return Normalised(a * ((a + 1) - (a - 1) * cw + root), 2 * a * ((a - 1) - (a + 1) * cw),
                      a * ((a + 1) - (a - 1) * cw - root), (a + 1) + (a - 1) * cw + root,
                      -2 * ((a - 1) + (a + 1) * cw), (a + 1) + (a - 1) * cw - root);
}

KivBiquadCoefficients HighShelf(double frequency, double quality, double gainDecibels, double sampleRate) noexcept {
    const double w = Omega(frequency, sampleRate), cw = std::cos(w), alpha = std::sin(w) / (2.0 * quality);
    const double a = std::pow(10.0, gainDecibels / 40.0), root = 2 * std::sqrt(a) * alpha;
    return Normalised(a * ((a + 1) + (a - 1) * cw + root), -2 * a * ((a - 1) + (a + 1) * cw),
                      a * ((a + 1) + (a - 1) * cw - root), (a + 1) - (a - 1) * cw + root,
                      2 * ((a - 1) - (a + 1) * cw), (a + 1) - (a - 1) * cw - root);
}

KivBiquadCoefficients Bilinear(double zeroFrequency, double zeroQuality, double poleFrequency, double poleQuality,
                               double sampleRate) noexcept {
    const double k = 2.0 * sampleRate, kk = k * k;
    const double wz = zeroFrequency > 0.0 ? Warped(zeroFrequency, sampleRate) : 0.0;
    const double wp = Warped(poleFrequency, sampleRate);
    const double bz = wz / zeroQuality * k, bp = wp / poleQuality * k;
    return Normalised(kk + bz + wz * wz, 2 * (wz * wz - kk), kk - bz + wz * wz, kk + bp + wp * wp,
                      2 * (wp * wp - kk), kk - bp + wp * wp);
}

KivBiquadCoefficients AllPassPair(double c1, double c2) noexcept {
    const double product = c1 * c2, sum = c1 + c2;
    return {product, sum, 1.0, sum, product};
}

}  // namespace KivBiquadDesign
