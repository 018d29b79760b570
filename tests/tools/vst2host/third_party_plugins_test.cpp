// Our interface declaration and host checked against real VST 2 plug-ins from Debian
// (zam-plugins, lsp-plugins-vst), built by others from their own interface headers. Each
// case is skipped when its file is not installed, and on Windows.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include "tools/vst2host/kiv_vst2_plugin.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
// Foreign plug-ins keep some memory until process exit; it is theirs to answer for, not ours
// (our host code is checked for leaks with the gain fixture).
static void IgnoreForeignLeaks(bool ignore) { ignore ? __lsan_disable() : __lsan_enable(); }
#else
static void IgnoreForeignLeaks(bool) {}
#endif

namespace {

struct ThirdPartyPlugin {
    const char* testName;
    const char* path;
    const char* name;
    const char* vendor;
    const char* parameter;  // one that audibly changes a loud sine
    float firstValue;
    float secondValue;
};

// Zam: threshold at 0 dB leaves a -2 dB sine alone, at its lowest it compresses hard.
// LSP: the output gain, from unity down to its lowest.
const ThirdPartyPlugin kPlugins[] = {
    {"ZamCompX2", "/usr/lib/vst/ZamCompX2-vst.so", "ZamCompX2", "Damien Zammit", "Threshold", 1.0f, 0.0f},
    {"LspCompressorStereo", "/usr/lib/vst/lsp-plugins/compressor-stereo.so", "Compressor Stereo", "LSP", "g_out", 0.571582f, 0.1f},
};

// Test names show the plug-in, not the record's bytes.
void PrintTo(const ThirdPartyPlugin& plugin, std::ostream* out) { *out << plugin.testName; }

constexpr double kSampleRate = 48000.0;
constexpr int64_t kFrames = 48000;

std::vector<float> LoudSine() {
    std::vector<float> samples(static_cast<size_t>(kFrames));
    const double step = 2.0 * std::numbers::pi * 440.0 / kSampleRate;
    for (int64_t i = 0; i < kFrames; ++i) samples[static_cast<size_t>(i)] = static_cast<float>(0.8 * std::sin(step * i));
    return samples;
}

// Level of the second half, after attack and release have settled.
double SettledRms(const std::vector<float>& samples) {
    double sum = 0.0;
    for (size_t i = samples.size() / 2; i < samples.size(); ++i) sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / double(samples.size() - samples.size() / 2));
}

bool AllFinite(const std::vector<std::vector<float>>& channels) {
    for (const auto& channel : channels)
        for (float sample : channel)
            if (!std::isfinite(sample)) return false;
    return true;
}

int32_t FindParameter(KivVst2Plugin& plugin, const std::string& name) {
    for (int32_t i = 0; i < plugin.NumParams(); ++i)
        if (plugin.ParameterName(i) == name) return i;
    return -1;
}

class ThirdPartyPluginTest : public ::testing::TestWithParam<ThirdPartyPlugin> {
protected:
    void SetUp() override {
        IgnoreForeignLeaks(true);
#if defined(_WIN32)
        GTEST_SKIP() << "the Debian plug-ins are Linux libraries";
#endif
        if (!std::filesystem::exists(GetParam().path)) GTEST_SKIP() << GetParam().path << " is not installed";
        KivVst2HostSettings settings;
        settings.sampleRate = kSampleRate;
        settings.blockSize = 512;
        ASSERT_TRUE(plugin_.Load(GetParam().path, settings)) << plugin_.ErrorText();
        plugin_.Open();
    }
    void TearDown() override {
        plugin_.Close();
        IgnoreForeignLeaks(false);
    }

    double ProcessAt(int32_t parameter, float value, std::vector<std::vector<float>>& output) {
        plugin_.SetParameter(parameter, value);
        const std::vector<float> sine = LoudSine();
        plugin_.ProcessInBlocks({sine, sine}, output, kFrames);
        return SettledRms(output[0]);
    }

    KivVst2Plugin plugin_;
};

}  // namespace

TEST_P(ThirdPartyPluginTest, IdentityAndParametersReadThroughOurDeclaration) {
    EXPECT_EQ(plugin_.EffectName(), GetParam().name);
    EXPECT_NE(plugin_.VendorString().find(GetParam().vendor), std::string::npos) << plugin_.VendorString();
    EXPECT_EQ(plugin_.VstVersion(), 2400);
    EXPECT_NE(plugin_.UniqueId(), 0);
    EXPECT_TRUE(plugin_.HasFlag(effFlagsCanReplacing));
    EXPECT_GE(plugin_.NumInputs(), 2);
    EXPECT_EQ(plugin_.NumOutputs(), 2);
    ASSERT_GT(plugin_.NumParams(), 3);
    for (int32_t i = 0; i < plugin_.NumParams(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(plugin_.ParameterName(i).empty());
        EXPECT_FALSE(plugin_.ParameterDisplay(i).empty());
        const float value = plugin_.GetParameter(i);
        EXPECT_GE(value, 0.0f);
        EXPECT_LE(value, 1.0f);
    }
}

TEST_P(ThirdPartyPluginTest, ProcessedAudioIsFiniteAndFollowsAParameter) {
    const int32_t parameter = FindParameter(plugin_, GetParam().parameter);
    ASSERT_GE(parameter, 0) << GetParam().parameter;
    std::vector<std::vector<float>> output;
    const double first = ProcessAt(parameter, GetParam().firstValue, output);
    ASSERT_EQ(output.size(), 2u);
    EXPECT_TRUE(AllFinite(output));
    const std::string firstDisplay = plugin_.ParameterDisplay(parameter);
    const double second = ProcessAt(parameter, GetParam().secondValue, output);
    EXPECT_TRUE(AllFinite(output));
    EXPECT_NE(plugin_.ParameterDisplay(parameter), firstDisplay);
    EXPECT_GT(first, 0.05);  // sound came through
    EXPECT_LT(second, 0.7 * first) << first << " -> " << second;
}

TEST_P(ThirdPartyPluginTest, ChunksRoundTripWhenOffered) {
    if (!plugin_.HasFlag(effFlagsProgramChunks)) GTEST_SKIP() << "keeps no chunks";
    const int32_t parameter = FindParameter(plugin_, GetParam().parameter);
    ASSERT_GE(parameter, 0);
    plugin_.SetParameter(parameter, GetParam().secondValue);
    const std::string stored = plugin_.ParameterDisplay(parameter);
    const std::vector<uint8_t> chunk = plugin_.GetChunk();
    ASSERT_FALSE(chunk.empty());
    plugin_.SetParameter(parameter, GetParam().firstValue);
    plugin_.SetChunk(chunk);
    EXPECT_EQ(plugin_.ParameterDisplay(parameter), stored);
}

INSTANTIATE_TEST_SUITE_P(Debian, ThirdPartyPluginTest, ::testing::ValuesIn(kPlugins),
                         [](const ::testing::TestParamInfo<ThirdPartyPlugin>& info) {
                             return std::string(info.param.testName);
                         });
