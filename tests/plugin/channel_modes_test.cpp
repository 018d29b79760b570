#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
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

// A mode switch while audio plays, with an effect that takes the new channel count at a block
// boundary. Worked out by hand from the switch's definition: the output fades from the old
// mode's into the input delayed by the latency (dry) over 10 ms (441 samples at 44.1 kHz)
// with weights w(p) = sin^2(pi/2 p/441), p = 1, 2, ... 441 from the first sample of the block
// after the request; the new mode is taken at the next block boundary and plays unheard for at
// least the latency (whole blocks: 0 for latency 0, one block for 100, two for 600), then the
// output fades from dry into the new mode's, p = 440, 439, ... 0.
struct SwitchCase {
    int32_t mode;
    int32_t latency;
    int32_t fadeInBlock;  // the block the output fades back in; the request comes before block 1
    int32_t channels;     // what the effect processes in the new mode
};

class ChannelModeSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(ChannelModeSwitchTest, FadesThroughTheDelayedInputAndBack) {
    const SwitchCase c = GetParam();
    constexpr double kGain = 0.5;
    constexpr int32_t kFade = 441;
    UnityGainPlugin unity(c.latency);
    unity.effect().SetProcessesFewerChannels(true);
    unity.plugin.InitProcessing();
    unity.plugin.SetParameter(0, kGain, false);
    const int32_t blocks = c.fadeInBlock + 2;
    StereoMaterial material(blocks * kBlock);
    HostBlock block(2, kBlock);
    const auto weight = [&](int32_t p) {
        const double s = std::sin(0.5 * 3.14159265358979323846 * p / kFade);
        return s * s;
    };
    for (int32_t b = 0; b < blocks; ++b) {
        if (b == 1) unity.plugin.SetChannelMode(c.mode);
        block.Load(material, b * kBlock);
        unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
        for (int32_t i = 0; i < kBlock; ++i) {
            const int32_t source = b * kBlock + i - c.latency;
            const double l = source < 0 ? 0.0 : material.left[source];
            const double r = source < 0 ? 0.0 : material.right[source];
            const Frame before = Expected(kKivChannelModeLeftRight, l, r, kGain);
            const Frame after = Expected(c.mode, l, r, kGain);
            Frame expected = before;
            double dry = 0.0;  // the weight of the delayed input
            if (b == 1) {
                dry = weight(std::min(i + 1, kFade));
            } else if (b > 1 && b < c.fadeInBlock) {
                dry = 1.0;
            } else if (b == c.fadeInBlock) {
                dry = weight(std::max(kFade - (i + 1), 0));
            }
            if (b >= c.fadeInBlock) expected = after;
            expected.left = expected.left * (1.0 - dry) + l * dry;
            expected.right = expected.right * (1.0 - dry) + r * dry;
            ASSERT_NEAR(block.outputData[0][i], expected.left, 2e-6) << "block " << b << " sample " << i;
            ASSERT_NEAR(block.outputData[1][i], expected.right, 2e-6) << "block " << b << " sample " << i;
        }
        if (b == 0) {
            EXPECT_EQ(unity.effect().Channels(), 2);
        } else if (b >= 2) {
            EXPECT_EQ(unity.effect().Channels(), c.channels) << "block " << b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, ChannelModeSwitchTest,
                         ::testing::Values(SwitchCase{kKivChannelModeLeft, 100, 3, 1},
                                           SwitchCase{kKivChannelModeMid, 0, 2, 1},
                                           SwitchCase{kKivChannelModeSide, 600, 4, 1},
                                           SwitchCase{kKivChannelModeRight, 37, 3, 1},
                                           SwitchCase{kKivChannelModeMidSide, 100, 3, 2}));

// Asked for and taken back before the output has faded into the delayed input, the mode
// never changes: the output returns to the mode it left, over the part of the fade it went.
TEST(ChannelModeSwitchTest, ARequestTakenBackWithinTheFadeChangesNothing) {
    UnityGainPlugin unity(0, 64);
    unity.effect().SetProcessesFewerChannels(true);
    unity.plugin.InitProcessing();
    unity.plugin.SetParameter(0, 0.5, false);
    StereoMaterial material(64 * 4);
    HostBlock block(2, 64);
    for (int32_t b = 0; b < 4; ++b) {
        if (b == 1) unity.plugin.SetChannelMode(kKivChannelModeMid);
        if (b == 2) unity.plugin.SetChannelMode(kKivChannelModeLeftRight);
        block.Load(material, b * 64);
        unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), 64, true);
        EXPECT_EQ(unity.plugin.GetPlayingChannelMode(), kKivChannelModeLeftRight) << "block " << b;
        EXPECT_EQ(unity.effect().Channels(), 2);
    }
    // Block 1 went 64 steps into the fade, block 2 came 64 back: block 3 is processed alone.
    for (int32_t i = 0; i < 64; ++i) ASSERT_NEAR(block.outputData[0][i], 0.5 * material.left[3 * 64 + i], 1e-6) << i;
}

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

// The channel a single-channel mode leaves unprocessed passes through the framework's line
// for an effect that does not delay it itself: a NaN or infinity there plays as silence, and
// every other sample as the input delayed by the latency.
TEST(ChannelModeUnprocessedTest, BrokenSamplesInTheUnprocessedChannelPlayAsSilence) {
    constexpr int32_t kLatency = 37;
    const float broken[] = {std::nanf(""), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity()};
    for (const int32_t mode : {kKivChannelModeLeft, kKivChannelModeRight}) {
        for (const bool fewer : {false, true}) {
            UnityGainPlugin unity(kLatency);
            unity.effect().SetProcessesFewerChannels(fewer);
            unity.plugin.InitProcessing();
            unity.plugin.SetChannelMode(mode);
            unity.plugin.SetParameter(0, 0.5, false);
            const int32_t unprocessed = mode == kKivChannelModeLeft ? 1 : 0;
            StereoMaterial material(kBlocks * kBlock);
            std::vector<float>& passed = unprocessed == 1 ? material.right : material.left;
            // One at a block's first sample, one in the middle, one in the last block's last
            // latency's worth (heard only in the next call, which the test does not make).
            const int32_t spots[] = {kBlock, kBlock + 200, kBlocks * kBlock - 10};
            for (int32_t k = 0; k < 3; ++k) passed[spots[k]] = broken[k];
            HostBlock block(2, kBlock);
            for (int32_t b = 0; b < kBlocks; ++b) {
                block.Load(material, b * kBlock);
                unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
                for (int32_t i = 0; i < kBlock; ++i) {
                    const int32_t source = b * kBlock + i - kLatency;
                    const float in = source < 0 ? 0.0f : passed[source];
                    const double expected = std::isfinite(in) ? in : 0.0;
                    ASSERT_EQ(block.outputData[unprocessed][i], expected)
                        << "mode " << mode << " fewer " << fewer << " block " << b << " sample " << i;
                }
            }
        }
    }
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
