// The output meter's RMS: the mean square of the last 0.4 s (whole 16-sample chunks), worked
// out by hand for steady levels, a burst that has partly left the window, and blocks that end
// inside a chunk.
#include "dynamics/processing/tandrel_output_rms_ring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int32_t kRate = 48000;
// 0.4 s at 48 kHz: 19,200 samples, 1,200 chunks.
constexpr int32_t kWindow = 19200;

void Feed(TandrelOutputRmsRing& ring, const std::vector<float>& samples, int32_t block) {
    for (size_t start = 0; start < samples.size(); start += static_cast<size_t>(block)) {
        const size_t count = std::min(samples.size() - start, static_cast<size_t>(block));
        ring.Feed(samples.data() + start, static_cast<int32_t>(count));
    }
}

TEST(TandrelOutputRmsRing, MeanSquareOfTheLastFourTenthsOfASecond) {
    TandrelOutputRmsRing ring;
    ring.Build(kRate);
    ASSERT_EQ(ring.Length(), kWindow);
    EXPECT_EQ(ring.Rms(), 0.0);

    // A full-scale sine of 480 Hz (exactly 100 samples a period): RMS 1/sqrt(2), in blocks of
    // 37 samples that end inside chunks.
    std::vector<float> sine(kWindow);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * static_cast<double>(i) / 100.0));
    Feed(ring, sine, 37);
    EXPECT_NEAR(ring.Rms(), 1.0 / std::sqrt(2.0), 1e-6);

    // A quarter of the window of silence: three quarters of the sine's mean square remain.
    Feed(ring, std::vector<float>(kWindow / 4, 0.0f), 512);
    EXPECT_NEAR(ring.Rms(), std::sqrt(0.75 * 0.5), 1e-6);

    // A window of silence reads exactly zero; then 0.1 s at 0.5: mean square 0.25 / 4.
    Feed(ring, std::vector<float>(kWindow, 0.0f), 512);
    EXPECT_EQ(ring.Rms(), 0.0);
    Feed(ring, std::vector<float>(kWindow / 4, 0.5f), 100);
    EXPECT_NEAR(ring.Rms(), std::sqrt(0.25 / 4.0), 1e-9);
}

}  // namespace
