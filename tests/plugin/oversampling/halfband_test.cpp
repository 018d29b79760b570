#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "plugin/oversampling/kiv_halfband_design.h"
#include "plugin/oversampling/kiv_halfband_kernels.h"

namespace {

using KivHalfbandKernels::Path;

// The design written out as its full 4k-1 taps, zeros and centre included.
std::vector<double> FullTaps(const KivHalfbandDesign& design) {
    const int k = design.count;
    const int centre = 2 * k - 1;
    std::vector<double> taps(4 * k - 1, 0.0);
    taps[centre] = 0.5;
    for (int t = 0; t < k; ++t) {
        taps[centre + 2 * t + 1] = taps[centre - 2 * t - 1] = design.coefficients[t];
    }
    return taps;
}

// Plain convolution y[m] = sum of taps[i] * x[m - i], with x[m] = 0 for m < 0.
double Convolve(const std::vector<double>& taps, const std::vector<double>& x, int m) {
    double sum = 0.0;
    for (int i = 0; i < static_cast<int>(taps.size()) && i <= m; ++i) sum += taps[i] * x[m - i];
    return sum;
}

std::vector<float> Noise(int count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> noise(count);
    for (float& sample : noise) sample = uniform(generator);
    return noise;
}

// Zero-phase amplitude of the half-band at f (cycles per high-rate sample).
double Amplitude(const KivHalfbandDesign& design, double f) {
    double sum = 0.5;
    for (int t = 0; t < design.count; ++t) {
        sum += 2.0 * design.coefficients[t] * std::cos(2.0 * std::numbers::pi * f * (2 * t + 1));
    }
    return sum;
}

TEST(KivHalfbandTest, EveryDesignMeetsItsStopBandAndRipple) {
    for (bool high : {false, true}) {
        for (auto slope : {KivResamplerSlope::kSteep, KivResamplerSlope::kGentle}) {
            const double passFraction = slope == KivResamplerSlope::kSteep ? 20.0 / 44.1 : 0.40;
            for (int stage = 0; stage < KivHalfbandDesigns::kStageCount; ++stage) {
                SCOPED_TRACE(std::to_string(high) + " " + std::to_string(int(slope)) + " " + std::to_string(stage));
                const KivHalfbandDesign design = KivHalfbandDesigns::Get(high, slope, stage);
                const double passEdge = passFraction / (2 << stage);
                double worstStop = 0.0;
                double worstRipple = 0.0;
                for (int i = 0; i <= 5000; ++i) {
                    const double inPass = passEdge * i / 5000.0;
                    worstRipple = std::max(worstRipple, std::abs(20.0 * std::log10(Amplitude(design, inPass))));
                    worstStop = std::max(worstStop, std::abs(Amplitude(design, 0.5 - inPass)));
                }
                EXPECT_LT(20.0 * std::log10(worstStop), high ? -96.0 : -60.0);
                EXPECT_LT(worstRipple, high ? 0.001 : 0.01);
            }
        }
    }
}

class KivHalfbandKernelTest : public testing::TestWithParam<Path> {};

TEST_P(KivHalfbandKernelTest, PolyphaseLoopsEqualPlainConvolution) {
    const KivHalfbandDesign design = KivHalfbandDesigns::Get(true, KivResamplerSlope::kSteep, 0);
    const int k = design.count;
    const int n = 203;  // not a multiple of the vector width
    std::vector<float> samples = Noise(2 * n, 1);

    // Interpolation: zeros inserted, filtered with twice the taps (the kernel takes them doubled).
    std::vector<float> input(2 * k - 1 + n, 0.0f);
    std::copy(samples.begin(), samples.begin() + n, input.begin() + 2 * k - 1);
    std::vector<float> doubled(k);
    for (int t = 0; t < k; ++t) doubled[t] = 2.0f * design.coefficients[t];
    std::vector<float> up(2 * n);
    KivHalfbandKernels::Interpolate(GetParam(), input.data() + 2 * k - 1, n, doubled.data(), k, up.data());
    std::vector<double> stuffed(2 * n, 0.0);
    for (int i = 0; i < n; ++i) stuffed[2 * i] = samples[i];
    const std::vector<double> taps = FullTaps(design);
    for (int m = 0; m < 2 * n; ++m) ASSERT_NEAR(up[m], 2.0 * Convolve(taps, stuffed, m), 1e-5) << "at " << m;

    // Decimation: filtered, then every even sample kept.
    std::vector<float> even(2 * k - 1 + n, 0.0f), odd(k + n, 0.0f);
    for (int i = 0; i < n; ++i) {
        even[2 * k - 1 + i] = samples[2 * i];
        odd[k + i] = samples[2 * i + 1];
    }
    std::vector<float> down(n);
    KivHalfbandKernels::Decimate(GetParam(), even.data() + 2 * k - 1, odd.data() + k, n,
                                 design.coefficients, k, down.data());
    const std::vector<double> high(samples.begin(), samples.end());
    for (int i = 0; i < n; ++i) ASSERT_NEAR(down[i], Convolve(taps, high, 2 * i), 1e-5) << "at " << i;
}

INSTANTIATE_TEST_SUITE_P(Paths, KivHalfbandKernelTest, testing::Values(Path::kScalar, Path::kVector));

TEST(KivHalfbandKernelsTest, VectorAndScalarLoopsGiveIdenticalBits) {
    for (int stage = 0; stage < KivHalfbandDesigns::kStageCount; ++stage) {
        const KivHalfbandDesign design = KivHalfbandDesigns::Get(true, KivResamplerSlope::kSteep, stage);
        const int k = design.count;
        const int n = 101;
        const std::vector<float> signal = Noise(2 * k + n, 9);
        std::vector<float> scalar(3 * n), vector(3 * n);
        for (Path path : {Path::kScalar, Path::kVector}) {
            std::vector<float>& out = path == Path::kScalar ? scalar : vector;
            KivHalfbandKernels::Interpolate(path, signal.data() + 2 * k, n, design.coefficients, k, out.data());
            KivHalfbandKernels::Decimate(path, signal.data() + 2 * k, signal.data() + k + 1, n, design.coefficients, k,
                                         out.data() + 2 * n);
        }
        EXPECT_EQ(scalar, vector) << "stage " << stage;
    }
}

}  // namespace
