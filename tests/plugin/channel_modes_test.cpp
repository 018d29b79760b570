#include <gtest/gtest.h>

#include <vector>

#include "plugin/kiv_channel_mode.h"
#include "tests/plugin/fixtures/stereo_material.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"
#include "tests/support/kiv_test_print.h"

namespace {

constexpr int32_t kBlock = 512;
constexpr int32_t kBlocks = 3;

struct Frame {
    double left;
    double right;
};

// What each mode makes of (L, R) when the effect multiplies what it processes by g, worked
// out from the definitions mid = (L + R) / 2, side = (L - R) / 2, L = M + S, R = M - S.
Frame Expected(int32_t mode, double l, double r, double g) {
    const double m = (l + r) / 2;
    const double s = (l - r) / 2;
    switch (mode) {
        case kKivChannelModeLeft: return {g * l, r};
        case kKivChannelModeRight: return {l, g * r};
        case kKivChannelModeMid: return {g * m + s, g * m - s};
        case kKivChannelModeSide: return {m + g * s, m - g * s};
        case kKivChannelModeMidSide: return {g * m + g * s, g * m - g * s};
        case kKivChannelModeLeftRightNegated: return {g * l, -g * r};
        default: return {g * l, g * r};
    }
}

struct ModeCase {
    int32_t mode;
    double gain;
    int32_t latency;
};

class ChannelModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ChannelModeTest, OutputFollowsTheModesDefinition) {
    const ModeCase c = GetParam();
    UnityGainPlugin unity(c.latency);
    unity.plugin.SetChannelMode(c.mode);
    unity.plugin.SetParameter(0, c.gain, false);
    StereoMaterial material(kBlocks * kBlock);
    HostBlock block(2, kBlock);
    for (int32_t b = 0; b < kBlocks; ++b) {
        block.Load(material, b * kBlock);
        unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
        for (int32_t i = 0; i < kBlock; ++i) {
            const int32_t source = b * kBlock + i - c.latency;
            const Frame expected = source < 0 ? Frame{0, 0}
                                              : Expected(c.mode, material.left[source], material.right[source], c.gain);
            ASSERT_NEAR(block.outputData[0][i], expected.left, 1e-6) << "block " << b << " sample " << i;
            ASSERT_NEAR(block.outputData[1][i], expected.right, 1e-6) << "block " << b << " sample " << i;
        }
        // The host's input is never written, whatever the mode converts.
        ASSERT_EQ(block.inputData[0], std::vector<float>(material.left.begin() + b * kBlock,
                                                         material.left.begin() + (b + 1) * kBlock));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ChannelModeTest,
    ::testing::Values(ModeCase{kKivChannelModeLeft, 0.5, 0}, ModeCase{kKivChannelModeRight, 0.5, 0},
                      ModeCase{kKivChannelModeMid, 0.5, 0}, ModeCase{kKivChannelModeSide, 0.5, 0},
                      ModeCase{kKivChannelModeMidSide, 0.5, 0}, ModeCase{kKivChannelModeLeftRightNegated, 0.5, 0},
                      // Through a unity effect every mode gives the input back (negated right aside).
                      ModeCase{kKivChannelModeLeft, 1.0, 0}, ModeCase{kKivChannelModeRight, 1.0, 0},
                      ModeCase{kKivChannelModeMid, 1.0, 0}, ModeCase{kKivChannelModeSide, 1.0, 0},
                      ModeCase{kKivChannelModeMidSide, 1.0, 0}, ModeCase{kKivChannelModeLeftRightNegated, 1.0, 0},
                      // The channel left unprocessed waits for the effect's latency.
                      ModeCase{kKivChannelModeLeft, 0.5, 100}, ModeCase{kKivChannelModeMid, 0.5, 100},
                      ModeCase{kKivChannelModeSide, 0.25, 37}));

TEST(ChannelModeEffectViewTest, EffectSeesTheConvertedChannelFirst) {
    StereoMaterial material(kBlock);
    const double l = material.left[0];
    const double r = material.right[0];
    const struct {
        int32_t mode;
        double first;
        int32_t channels;
    } cases[] = {{kKivChannelModeLeftRight, l, 2}, {kKivChannelModeLeft, l, 1}, {kKivChannelModeRight, r, 1},
                 {kKivChannelModeMid, (l + r) / 2, 1}, {kKivChannelModeSide, (l - r) / 2, 1},
                 {kKivChannelModeMidSide, (l + r) / 2, 2}, {kKivChannelModeLeftRightNegated, l, 2}};
    for (const auto& c : cases) {
        UnityGainPlugin unity;
        unity.plugin.SetChannelMode(c.mode);
        HostBlock block(2, kBlock);
        block.Load(material, 0);
        unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
        EXPECT_NEAR(unity.effect().CallFirstInput(0, 0), c.first, 1e-7) << "mode " << c.mode;
        EXPECT_EQ(unity.effect().Channels(), c.channels) << "mode " << c.mode;
    }
}

TEST(ChannelModeEffectViewTest, SideOfIdenticalChannelsIsSilent) {
    UnityGainPlugin unity;
    unity.plugin.SetChannelMode(kKivChannelModeSide);
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    block.inputData[1] = block.inputData[0];
    unity.plugin.SetParameter(0, 0.0, false);  // the effect silences what it gets
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
    EXPECT_EQ(unity.effect().CallFirstInput(0, 0), 0.0f);
    // Mid passes untouched, side was silent anyway: the input comes back.
    EXPECT_EQ(block.outputData[0], block.inputData[0]);
    EXPECT_EQ(block.outputData[1], block.inputData[0]);
}

TEST(ChannelModeTableTest, StoredNamesReadInAnyLetterCase) {
    EXPECT_EQ(KivChannelModes::FindByStoredName("stereo"), kKivChannelModeSide);
    EXPECT_EQ(KivChannelModes::FindByStoredName("MONO"), kKivChannelModeMid);
    EXPECT_EQ(KivChannelModes::FindByStoredName("mono + stereo"), kKivChannelModeMidSide);
    EXPECT_EQ(KivChannelModes::FindByStoredName("Mid"), -1);  // menu names are not stored names
    EXPECT_STREQ(KivChannelModes::Info(kKivChannelModeMid).menuName, "Mid");
    EXPECT_STREQ(KivChannelModes::Info(kKivChannelModeLeftRightNegated).storedName, "Left + Right (neg)");
}

}  // namespace
