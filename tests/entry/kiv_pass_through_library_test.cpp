// The pass-through plug-in file: the framework's spine around an effect that changes nothing.
// Whatever a host sends must come back bit for bit, at once, in every way a host calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

constexpr int32_t kFrames = 3000;  // not a whole number of blocks

// Values a float cannot survive arithmetic with unchanged: a sign bit alone, denormals, the
// extremes and a not-a-number's payload show any processing a plain copy would not do.
std::vector<std::vector<float>> AwkwardSignal() {
    std::vector<std::vector<float>> signal(2, std::vector<float>(kFrames));
    uint32_t seed = 12345;
    for (int32_t i = 0; i < kFrames; ++i) {
        seed = seed * 214013u + 2531011u;
        uint32_t bits = seed;
        if ((bits & 0x7F800000u) == 0x7F800000u) bits &= 0xBFFFFFFFu;  // no infinities or NaNs here
        std::memcpy(&signal[0][i], &bits, sizeof bits);
        signal[1][i] = std::sin(static_cast<float>(i) * 0.01f);
    }
    signal[0][0] = -0.0f;
    signal[0][1] = 1e-40f;
    signal[0][2] = -3.4e38f;
    return signal;
}

void ExpectSameBits(const std::vector<float>& expected, const std::vector<float>& actual) {
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(std::memcmp(actual.data(), expected.data(), sizeof(float) * expected.size()), 0);
}

TEST(PassThroughLibrary, ReturnsEveryBitUndelayedInBlocksAndInPlace) {
    KivVst2HostSettings settings;
    settings.sampleRate = 48000;
    settings.blockSize = 512;
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_PASS_THROUGH_PLUGIN_PATH, settings)) << plugin.ErrorText();
    plugin.Open();
    EXPECT_EQ(plugin.EffectName(), "KivPassThroughPlugin");
    EXPECT_EQ(plugin.NumInputs(), 2);
    EXPECT_EQ(plugin.NumOutputs(), 2);
    EXPECT_EQ(plugin.NumParams(), 2);  // "Channel mode" and "Bypass", which every effect has
    EXPECT_EQ(plugin.Latency(), 0);

    const std::vector<std::vector<float>> signal = AwkwardSignal();
    std::vector<std::vector<float>> outputs;
    plugin.ProcessInBlocks(signal, outputs, kFrames);
    ASSERT_EQ(outputs.size(), 2u);
    ExpectSameBits(signal[0], outputs[0]);
    ExpectSameBits(signal[1], outputs[1]);

    // A host that processes in place hands the same buffers in and out.
    std::vector<std::vector<float>> inPlace = signal;
    float* channels[2] = {inPlace[0].data(), inPlace[1].data()};
    plugin.ProcessReplacing(channels, channels, settings.blockSize);
    ExpectSameBits(signal[0], inPlace[0]);
    ExpectSameBits(signal[1], inPlace[1]);
    EXPECT_EQ(plugin.Latency(), 0);
}

}  // namespace
