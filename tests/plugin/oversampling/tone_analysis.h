#pragma once
#include <cmath>
#include <complex>
#include <vector>

// Measurements for the resampler tests, in double precision and independent of the code
// under test. Frequencies are in cycles per sample; windows hold whole numbers of cycles of
// every frequency involved, so sinusoids of different frequencies are exactly orthogonal.
namespace ToneAnalysis {

inline constexpr double kPi = 3.14159265358979323846;

inline float ToneSample(double frequency, long index) {
    return static_cast<float>(std::sin(2.0 * kPi * frequency * static_cast<double>(index)));
}

// Complex amplitude of the component at `frequency` (a single-bin Fourier projection).
inline std::complex<double> Component(const float* x, int count, double frequency) {
    std::complex<double> sum = 0.0;
    for (int i = 0; i < count; ++i) sum += static_cast<double>(x[i]) * std::polar(1.0, -2.0 * kPi * frequency * i);
    return sum * (2.0 / count);
}

inline double Rms(const float* x, int count) {
    double sum = 0.0;
    for (int i = 0; i < count; ++i) sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / count);
}

// RMS of what remains after removing the component at `frequency`.
inline double ResidualRms(const float* x, int count, double frequency) {
    const std::complex<double> c = Component(x, count, frequency);
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        const double fitted = std::real(c * std::polar(1.0, 2.0 * kPi * frequency * i));
        sum += (x[i] - fitted) * (x[i] - fitted);
    }
    return std::sqrt(sum / count);
}

inline double Decibels(double ratio) { return 20.0 * std::log10(ratio); }

}  // namespace ToneAnalysis
