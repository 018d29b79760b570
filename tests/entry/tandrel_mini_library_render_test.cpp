// Reproducible renders through the built plug-in library, in each face: the output for a given piece of audio
// and given parameter values does not depend on how much audio the instance processed before
// it. The same programme is rendered after 0, 1, 511 and 100,000 samples of leading silence,
// in blocks of 512, and the outputs past the silence must agree to the bit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/tandrel_mini_faces.h"
#include "tests/support/tandrel_mini_vst2_session.h"

namespace {

using namespace tandrel_mini_test;

constexpr double kSampleRate = 48000.0;

std::vector<float> Programme(int32_t frames) {
    std::vector<float> signal(frames);
    uint32_t seed = 777;
    for (int32_t i = 0; i < frames; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (seed >> 8) * (1.0 / 16777216.0) - 0.5;
        const double burst = (i / 6000) % 2 ? 0.9 : 0.05;
        signal[i] = static_cast<float>(burst * (0.7 * std::sin(6.2831853 * 220.0 * i / kSampleRate) + 0.3 * noise));
    }
    return signal;
}

struct Variant {
    const char* description;
    std::vector<std::pair<const char*, double>> settings;
    std::vector<std::pair<const char*, const char*>> state;
};

std::vector<float> Render(FaceKind kind, const Variant& variant, const std::vector<float>& programme, int32_t silence) {
    std::unique_ptr<Face> plugin = MakeFace(kind);
    EXPECT_TRUE(plugin->Open({kSampleRate, 512})) << plugin->Error();
    for (const auto& [key, value] : variant.state) plugin->SetInState({{key, value}});
    plugin->Set("Processor 1 (Processor 1)", 1.0);
    plugin->Set("Threshold (Processor 1)", Threshold(-20));
    plugin->Set("Ratio (Processor 1)", RatioCode(4));
    for (const auto& [name, value] : variant.settings) plugin->Set(name, value);
    std::vector<float> input(silence, 0.0f);
    input.insert(input.end(), programme.begin(), programme.end());
    const std::vector<std::vector<float>> outputs = plugin->Render({input, input}, 512);
    return std::vector<float>(outputs[0].begin() + silence, outputs[0].end());
}

class TandrelMiniLibraryRender : public ::testing::TestWithParam<FaceKind> {};
INSTANTIATE_TEST_SUITE_P(Faces, TandrelMiniLibraryRender, ::testing::Values(FaceKind::kVst2, FaceKind::kVst3), FaceName);

TEST_P(TandrelMiniLibraryRender, OutputDoesNotDependOnLeadingSilence) {
    const std::vector<float> programme = Programme(48000);
    const std::vector<Variant> variants = {
        {"defaults", {}, {}},
        {"5 ms look-ahead", {{"Look-ahead (Dynamic detection)", std::pow(0.005, 0.25)}}, {}},
        {"look-ahead, automatic release",
         {{"Look-ahead (Dynamic detection)", std::pow(0.005, 0.25)}, {"Release mode (Dynamic detection)", 0.2}},
         {}},
        {"automatic fast, linear 1, opto",
         {{"Release mode (Dynamic detection)", 0.4}},
         {}},
        {"true RMS, logarithmic", {{"Mode (General parameters)", 1.0}}, {{"TrueRMS", "1"}}},
        {"look-ahead, true RMS, linear 2",
         {{"Look-ahead (Dynamic detection)", std::pow(0.01, 0.25)}, {"Release mode (Dynamic detection)", 0.8}},
         {{"TrueRMS", "1"}}},
    };
    for (const Variant& variant : variants) {
        SCOPED_TRACE(variant.description);
        const std::vector<float> reference = Render(GetParam(), variant, programme, 0);
        for (int32_t silence : {1, 511, 100000}) {
            const std::vector<float> out = Render(GetParam(), variant, programme, silence);
            int32_t first = -1;
            double largest = 0.0;
            for (size_t i = 0; i < out.size(); ++i) {
                if (out[i] != reference[i] && first < 0) first = static_cast<int32_t>(i);
                largest = std::max(largest, std::fabs(double(out[i]) - reference[i]));
            }
            EXPECT_EQ(first, -1) << "after " << silence << " samples of silence; largest difference " << largest;
        }
    }
}

}  // namespace
