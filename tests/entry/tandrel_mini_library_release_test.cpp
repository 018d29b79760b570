// Recovery after overload for every release mode and every attack and release shape, through
// the built plug-in library, through each face: a loud tone (input gain +12 dB, far over
// the -12 dB threshold, 4:1, attack 200 ms, release 50 ms: a release shorter than the attack)
// followed by a quiet one below the threshold. Once released the quiet tone passes at unity
// gain, so its output level is the input level plus the input gain: -40 + 12 = -28 dB peak.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/support/kiv_sanitizer.h"
#include "tests/support/tandrel_mini_faces.h"
#include "tests/support/tandrel_mini_vst2_session.h"

namespace {

using namespace tandrel_mini_test;

constexpr double kSampleRate = 48000.0;
const char* const kReleaseModes[] = {"Manual", "Automatic", "Automatic fast", "Linear 1", "Linear 2", "Opto"};
const char* const kShapes[] = {"Slowest", "Slow", "Medium", "Fast", "Fastest", "Extreme", "Custom", "Custom (logarithmic)"};

std::vector<float> LoudThenQuiet(int32_t loud, int32_t quiet) {
    std::vector<float> signal(loud + quiet);
    for (int32_t i = 0; i < loud + quiet; ++i)
        signal[i] = static_cast<float>((i < loud ? 0.9 : 0.01) * std::sin(6.283185307179586 * 1000.0 * i / kSampleRate));
    return signal;
}

class TandrelMiniLibraryRelease : public ::testing::TestWithParam<FaceKind> {};
INSTANTIATE_TEST_SUITE_P(Faces, TandrelMiniLibraryRelease, ::testing::Values(FaceKind::kVst2, FaceKind::kVst3), FaceName);

TEST_P(TandrelMiniLibraryRelease, EveryModeAndShapeRecoversAfterOverload) {
    const int32_t loud = 24000, quiet = 48000, measured = 9600;
    const std::vector<float> signal = LoudThenQuiet(loud, quiet);
    const double expectedDb = -40.0 + 12.0;
    for (int32_t mode = 0; mode < 6; ++mode) {
        for (int32_t attackShape = 0; attackShape < 8; ++attackShape) {
            for (int32_t releaseShape = 0; releaseShape < 8; ++releaseShape) {
                // Under ThreadSanitizer one release shape per attack shape, another for each
                // mode: every mode still meets every attack shape and every release shape.
                if (KivSanitizer::kThreads && releaseShape != (attackShape + mode) % 8) continue;
                const char* attack = kShapes[attackShape];
                const char* release = kShapes[releaseShape];
                SCOPED_TRACE(std::string(kReleaseModes[mode]) + ", attack " + attack + ", release " + release);
                std::unique_ptr<Face> plugin = MakeFace(GetParam());
                ASSERT_TRUE(plugin->Open({kSampleRate, 512})) << plugin->Error();
                plugin->SetInState({{"AttackMode", attack}, {"ReleaseMode", release}});
                plugin->Set("Release mode (Dynamic detection)", mode / 5.0);
                ASSERT_EQ(plugin->Display("Release mode (Dynamic detection)"), kReleaseModes[mode]);
                plugin->Set("Input gain (General parameters)", Linear(12.0, -24.0, 24.0));
                plugin->Set("Processor 1 (Processor 1)", 1.0);
                plugin->Set("Gate (Gate)", 0.0);
                plugin->Set("Threshold (Processor 1)", Threshold(-12));
                plugin->Set("Ratio (Processor 1)", RatioCode(4));
                plugin->Set("Attack (Dynamic detection)", std::pow(0.2, 0.25));
                plugin->Set("Release (Dynamic detection)", std::pow((0.05 - 0.001) / (5.0 - 0.001), 0.25));
                if (mode == 0 && attack == kShapes[0] && release == kShapes[0]) {
                    EXPECT_EQ(plugin->Display("Attack (Dynamic detection)"), "200 ms");
                    EXPECT_EQ(plugin->Display("Release (Dynamic detection)"), "50 ms");
                    EXPECT_EQ(plugin->Display("Input gain (General parameters)"), "+12.00 dB");
                }
                const std::vector<std::vector<float>> outputs = plugin->Render({signal, signal}, 512);
                double peak = 0.0, largest = 0.0;
                bool finite = true;
                for (size_t i = 0; i < signal.size(); ++i) {
                    finite = finite && std::isfinite(outputs[0][i]);
                    largest = std::max(largest, std::fabs(double(outputs[0][i])));
                    if (i >= signal.size() - measured) peak = std::max(peak, std::fabs(double(outputs[0][i])));
                }
                ASSERT_TRUE(finite);
                // Never above the loud input with its 12 dB of gain.
                EXPECT_LE(largest, 0.9 * 3.99);
                EXPECT_NEAR(Decibels(peak), expectedDb, 0.1);
            }
        }
    }
}

}  // namespace
