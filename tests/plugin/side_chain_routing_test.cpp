#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plugin/kiv_channel_mode.h"
#include "tests/plugin/fixtures/stereo_material.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"
#include "tests/support/kiv_test_print.h"

namespace {

constexpr int32_t kBlock = 256;
constexpr int32_t kStride = 8;  // the layout both adapters hand over: eight entries per bus

// Main inputs and a side-chain laid out as the adapters do: bus 0 at entries 0 and 1, bus 1
// (the side-chain) at entries 8 and 9, the entries in between repeating each bus's last channel.
struct SideChainBlock {
    explicit SideChainBlock(int32_t frames)
        : main(2, std::vector<float>(frames)), key(2, std::vector<float>(frames)), out(2, std::vector<float>(frames)) {
        for (int32_t i = 0; i < frames; ++i) {
            main[0][i] = 0.25f;
            main[1][i] = -0.25f;
            key[0][i] = 0.5f * std::sin(0.01f * i);
            key[1][i] = 0.3f * std::cos(0.013f * i);
        }
        LayOut(true);
    }
    void LayOut(bool withSideChain) {
        for (int32_t entry = 0; entry < kStride; ++entry) {
            inputs[entry] = main[std::min(entry, 1)].data();
            inputs[kStride + entry] = withSideChain ? key[std::min(entry, 1)].data() : nullptr;
        }
        outputs[0] = out[0].data();
        outputs[1] = out[1].data();
        for (int32_t entry = 2; entry < kStride; ++entry) outputs[entry] = out[1].data();
    }
    std::vector<std::vector<float>> main;
    std::vector<std::vector<float>> key;
    std::vector<std::vector<float>> out;
    float* inputs[KivAudioPlugin::kMaxHostChannels] = {};
    float* outputs[KivAudioPlugin::kMaxHostChannels] = {};
};

// A stereo plug-in with a stereo side-chain bus whose effect plays the side-chain when present.
struct KeyedPlugin : UnityGainPlugin {
    KeyedPlugin() {
        plugin.SetHostChannels(4, 2);
        plugin.SetConnectedChannels(2, 2);
        plugin.SetGroupStride(kStride);
        plugin.InitProcessing();
        effect().SetPlaysSideChain(true);
    }
};

// What each mode makes of main (L, R) and key (KL, KR) when the effect outputs the key in
// place of what it processes: the key goes through the same conversion as the main pair, so
// converted back it comes out as the key itself on the processed channels.
struct Frame {
    double left;
    double right;
};

Frame Expected(int32_t mode, double l, double r, double kl, double kr) {
    const double km = (kl + kr) / 2;
    const double ks = (kl - kr) / 2;
    const double m = (l + r) / 2;
    const double s = (l - r) / 2;
    switch (mode) {
        case kKivChannelModeLeft: return {kl, r};
        case kKivChannelModeRight: return {l, kr};
        case kKivChannelModeMid: return {km + s, km - s};
        case kKivChannelModeSide: return {m + ks, m - ks};
        case kKivChannelModeMidSide: return {kl, kr};
        case kKivChannelModeLeftRightNegated: return {kl, -kr};
        default: return {kl, kr};
    }
}

class SideChainModeTest : public ::testing::TestWithParam<int32_t> {};

TEST_P(SideChainModeTest, SecondBusReachesTheEffectInTheFormOfTheMainInputs) {
    const int32_t mode = GetParam();
    KeyedPlugin keyed;
    keyed.plugin.SetChannelMode(mode);
    SideChainBlock block(kBlock);
    keyed.plugin.ProcessAudio(block.inputs, block.outputs, kBlock, true);
    ASSERT_TRUE(keyed.effect().SawSideChain());
    for (int32_t i = 0; i < kBlock; ++i) {
        const Frame expected = Expected(mode, block.main[0][i], block.main[1][i], block.key[0][i], block.key[1][i]);
        ASSERT_NEAR(block.out[0][i], expected.left, 1e-6) << "sample " << i;
        ASSERT_NEAR(block.out[1][i], expected.right, 1e-6) << "sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, SideChainModeTest,
                         ::testing::Values(kKivChannelModeLeftRight, kKivChannelModeLeft, kKivChannelModeRight,
                                           kKivChannelModeMid, kKivChannelModeSide, kKivChannelModeMidSide,
                                           kKivChannelModeLeftRightNegated));

// A bus the host switched off, or one it hands over without channels, is no side-chain: the
// effect keys on its own inputs.
TEST(SideChainRoutingTest, SwitchedOffOrMissingBusFallsBackToTheInputs) {
    KeyedPlugin keyed;
    SideChainBlock block(kBlock);
    keyed.plugin.SetInputGroupActive(1, false);
    keyed.plugin.ProcessAudio(block.inputs, block.outputs, kBlock, true);
    EXPECT_FALSE(keyed.effect().SawSideChain());
    EXPECT_EQ(block.out[0], block.main[0]);
    EXPECT_EQ(block.out[1], block.main[1]);

    keyed.plugin.SetInputGroupActive(1, true);
    block.LayOut(false);
    keyed.plugin.ProcessAudio(block.inputs, block.outputs, kBlock, true);
    EXPECT_FALSE(keyed.effect().SawSideChain());
    EXPECT_EQ(block.out[0], block.main[0]);

    block.LayOut(true);
    keyed.plugin.ProcessAudio(block.inputs, block.outputs, kBlock, true);
    EXPECT_TRUE(keyed.effect().SawSideChain());
    EXPECT_EQ(block.out[0], block.key[0]);
    EXPECT_EQ(block.out[1], block.key[1]);
}

// Bypass passes the main inputs, delayed by the latency, never the side-chain.
TEST(SideChainRoutingTest, BypassPassesTheMainInputs) {
    KeyedPlugin keyed;
    keyed.plugin.SetBypass(true);
    SideChainBlock block(kBlock);
    keyed.plugin.ProcessAudio(block.inputs, block.outputs, kBlock, true);
    EXPECT_EQ(block.out[0], block.main[0]);
    EXPECT_EQ(block.out[1], block.main[1]);
}

// Oversampled, the side-chain goes up and down through its own resamplers: a slow tone comes
// out as itself delayed by the reported latency, within the resamplers' pass-band ripple.
TEST(SideChainRoutingTest, OversampledSideChainArrivesAligned) {
    KeyedPlugin keyed;
    keyed.plugin.SetOversampling(4);
    keyed.plugin.InitProcessing();
    const int32_t latency = keyed.plugin.GetLatency();
    ASSERT_GT(latency, 0);
    std::vector<float> played;
    SideChainBlock block(kBlock);
    for (int32_t b = 0; b < 8; ++b) {
        for (int32_t i = 0; i < kBlock; ++i) block.key[0][i] = 0.5f * std::sin(0.01f * (b * kBlock + i));
        keyed.plugin.ProcessAudio(block.inputs, block.outputs, kBlock, true);
        played.insert(played.end(), block.out[0].begin(), block.out[0].end());
    }
    for (int32_t i = 4 * latency; i < static_cast<int32_t>(played.size()); ++i)
        ASSERT_NEAR(played[i], 0.5 * std::sin(0.01 * (i - latency)), 2e-3) << "sample " << i;
}

}  // namespace
