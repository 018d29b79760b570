// Automated gains and dry/wet move in per-sample ramps of 5 ms through the built plug-in
// library, in each face:
// a step of the output gain from 0 to -24 dB between two blocks reaches a steady 0.5 signal as
// 240 small steps (0.5 x (1 - 10^(-24/20)) / 240 = 0.00196 each at 48 kHz), not one jump of
// 0.47; a step of dry/wet likewise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/support/tandrel_mini_faces.h"
#include "tests/support/tandrel_mini_vst2_session.h"

namespace {

using namespace tandrel_mini_test;

constexpr double kSampleRate = 48000.0;

std::vector<float> Steady(Face& plugin, int32_t frames, float value) {
    return plugin.Render(std::vector<std::vector<float>>(2, std::vector<float>(frames, value)), 512)[0];
}

class TandrelMiniLibrarySmoothing : public ::testing::TestWithParam<FaceKind> {
protected:
    void SetUp() override { ASSERT_TRUE(plugin->Open({kSampleRate, 512})) << plugin->Error(); }
    std::unique_ptr<Face> plugin = MakeFace(GetParam());
};
INSTANTIATE_TEST_SUITE_P(Faces, TandrelMiniLibrarySmoothing, ::testing::Values(FaceKind::kVst2, FaceKind::kVst3), FaceName);

// Over the end of the steady part before the change and everything after it.
double LargestStep(const std::vector<float>& a, const std::vector<float>& b) {
    std::vector<float> all(a.end() - 100, a.end());
    all.insert(all.end(), b.begin(), b.end());
    double largest = 0.0;
    for (size_t i = 1; i < all.size(); ++i) largest = std::max(largest, std::fabs(double(all[i]) - all[i - 1]));
    return largest;
}

TEST_P(TandrelMiniLibrarySmoothing, OutputGainStepIsRampedOverFiveMilliseconds) {
    const std::vector<float> before = Steady(*plugin, 4800, 0.5f);
    EXPECT_EQ(before.back(), 0.5f);
    plugin->Set("Output gain (General parameters)", Linear(-24.0, -24.0, 24.0));
    const std::vector<float> after = Steady(*plugin, 4800, 0.5f);
    const double target = 0.5 * std::pow(10.0, -24.0 / 20.0);
    EXPECT_NEAR(after.back(), target, 1e-6);
    const double step = 0.5 * (1.0 - std::pow(10.0, -24.0 / 20.0)) / 240.0;
    EXPECT_LE(LargestStep(before, after), step * 1.001);
    // Nothing moves once the ramp is over: at most 5 ms after the block it arrived with.
    int32_t moving = 0;
    for (size_t i = 1; i < after.size(); ++i) moving += after[i] != after[i - 1];
    EXPECT_LE(moving, 240);
}

// Dry/wet from 100% to 0% over a compressor that takes 0.5 down to 0.5 x 10^(-7.5/20)
// (threshold -20 dB, 4:1, 13.98 dB over it): the blend moves over 240 samples.
TEST_P(TandrelMiniLibrarySmoothing, DryWetStepIsRamped) {
    plugin->Set("Threshold (Processor 1)", Threshold(-20));
    plugin->Set("Ratio (Processor 1)", RatioCode(4));
    plugin->Set("Knee size (Processor 1)", 0.0);
    plugin->Set("Mode (General parameters)", 1.0);
    plugin->Set("RMS length (Dynamic detection)", 0.0);
    const std::vector<float> before = Steady(*plugin, 9600, 0.5f);
    const double compressed = 0.5 * std::pow(10.0, (-20.0 + (20.0 * std::log10(0.5) + 20.0) / 4.0 - 20.0 * std::log10(0.5)) / 20.0);
    EXPECT_NEAR(before.back(), compressed, 1e-4);
    plugin->Set("Dry/wet (General parameters)", 0.0);
    const std::vector<float> after = Steady(*plugin, 4800, 0.5f);
    EXPECT_NEAR(after.back(), 0.5, 1e-6);
    EXPECT_LE(LargestStep(before, after), (0.5 - compressed) / 240.0 * 1.01);
}

}  // namespace
