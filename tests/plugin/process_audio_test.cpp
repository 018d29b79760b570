#include <gtest/gtest.h>

#include <vector>

#include "base/kiv_trace.h"
#include "tests/support/kiv_test_print.h"
#include "tests/plugin/fixtures/stereo_material.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

namespace {

constexpr int32_t kBlock = 512;

// Runs `blocks` blocks of the material through the plug-in and returns both output channels.
std::vector<std::vector<float>> RunBlocks(KivAudioPlugin& plugin, const StereoMaterial& material, int32_t blocks) {
    std::vector<std::vector<float>> out(2);
    HostBlock block(2, kBlock);
    for (int32_t b = 0; b < blocks; ++b) {
        block.Load(material, b * kBlock);
        plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
        for (int32_t c = 0; c < 2; ++c) out[c].insert(out[c].end(), block.outputData[c].begin(), block.outputData[c].end());
    }
    return out;
}

// out[i] == in[i - delay], silence before.
void ExpectDelayed(const std::vector<float>& out, const std::vector<float>& in, int32_t delay) {
    for (size_t i = 0; i < out.size(); ++i) {
        const float expected = i < static_cast<size_t>(delay) ? 0.0f : in[i - delay];
        ASSERT_EQ(out[i], expected) << "sample " << i;
    }
}

class BypassTest : public ::testing::TestWithParam<int32_t> {};

TEST_P(BypassTest, OutputIsInputDelayedByReportedLatency) {
    const int32_t latency = GetParam();
    UnityGainPlugin unity(latency);
    unity.plugin.SetBypass(true);
    ASSERT_EQ(unity.plugin.GetLatency(), latency);
    StereoMaterial material(4 * kBlock);
    const auto out = RunBlocks(unity.plugin, material, 4);
    ExpectDelayed(out[0], material.left, latency);
    ExpectDelayed(out[1], material.right, latency);
    // The effect keeps playing while bypassed, so that switching back hears no old audio.
    EXPECT_EQ(unity.effect().Calls(), 4);
}

TEST_P(BypassTest, ProcessedOutputHasTheSameAlignment) {
    const int32_t latency = GetParam();
    UnityGainPlugin unity(latency);
    StereoMaterial material(4 * kBlock);
    const auto out = RunBlocks(unity.plugin, material, 4);
    ExpectDelayed(out[0], material.left, latency);
    ExpectDelayed(out[1], material.right, latency);
}

INSTANTIATE_TEST_SUITE_P(Latencies, BypassTest, ::testing::Values(0, 512));

TEST(ProcessAudioTest, SuspensionSilencesEvenWhenBypassed) {
    UnityGainPlugin unity;
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    block.outputData[1].assign(kBlock, 3.0f);
    unity.plugin.SetBypass(true);
    unity.plugin.Suspend();
    unity.plugin.Suspend();
    unity.plugin.Resume();  // still suspended once
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
    EXPECT_EQ(block.outputData[0], std::vector<float>(kBlock, 0.0f));
    EXPECT_EQ(block.outputData[1], std::vector<float>(kBlock, 0.0f));

    unity.plugin.Resume();
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
    EXPECT_EQ(block.outputData[0], material.left);
}

// A host rendering into its own mix calls the accumulating entry: a suspended plug-in adds
// silence, which leaves the mix as it was.
TEST(ProcessAudioTest, SuspendedAccumulatingCallLeavesTheOutputs) {
    UnityGainPlugin unity;
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    block.outputData[0] = material.right;
    block.outputData[1].assign(kBlock, 3.0f);
    unity.plugin.Suspend();
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, false);
    EXPECT_EQ(block.outputData[0], material.right);
    EXPECT_EQ(block.outputData[1], std::vector<float>(kBlock, 3.0f));
}

// The host leaves out the right output, then the right input (no mono input declared). The
// left output is the left channel alone, through processing, a bypass fade and the settled
// bypass, replacing or adding; a missing input reads silence, not the other side's signal.
TEST(ProcessAudioTest, MissingChannelsNeverTakeTheirNeighbours) {
    for (const bool replacing : {true, false}) {
        UnityGainPlugin unity;
        StereoMaterial material(4 * kBlock);
        HostBlock block(2, kBlock);
        for (int32_t b = 0; b < 4; ++b) {
            unity.plugin.SetBypass(b >= 2);  // block 2 fades into bypass, block 3 is bypassed
            block.Load(material, b * kBlock);
            block.outputData[0].assign(kBlock, 0.5f);
            block.outputs[1] = nullptr;
            unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, replacing);
            for (int32_t i = 0; i < kBlock; ++i)
                ASSERT_EQ(block.outputData[0][i], material.left[b * kBlock + i] + (replacing ? 0.0f : 0.5f))
                    << replacing << " block " << b << " sample " << i;
        }
        unity.plugin.SetBypass(false);
        block.outputs[1] = block.outputData[1].data();
        block.inputs[1] = nullptr;
        for (int32_t b = 0; b < 2; ++b) {  // the bypass fades out, then it is off
            block.outputData[0].assign(kBlock, 0.0f);
            block.outputData[1].assign(kBlock, 0.0f);
            unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, replacing);
            EXPECT_EQ(block.outputData[0], block.inputData[0]) << replacing;
            EXPECT_EQ(block.outputData[1], std::vector<float>(kBlock, 0.0f)) << replacing;
        }
    }
}

// Without any output the block asks for nothing; with only the left one missing the right
// still plays.
TEST(ProcessAudioTest, NoOutputAtAllIsANoOpAndAMissingLeftOneIsNot) {
    UnityGainPlugin unity;
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    block.outputData[1].assign(kBlock, 7.0f);
    float* none[2] = {nullptr, nullptr};
    unity.plugin.ProcessAudio(block.inputs.data(), none, kBlock, true);
    EXPECT_EQ(unity.effect().Calls(), 0);
    EXPECT_EQ(block.inputData[0], material.left);

    block.outputs[0] = nullptr;
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
    EXPECT_EQ(unity.effect().Calls(), 1);
    EXPECT_EQ(block.outputs[0], nullptr);
    EXPECT_EQ(block.outputData[1], material.right);
}

TEST(ProcessAudioTest, AccumulatingCallAddsToTheOutputs) {
    UnityGainPlugin unity;
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    block.outputData[0].assign(kBlock, 1.0f);
    block.outputData[1].assign(kBlock, -1.0f);
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, false);
    for (int32_t i = 0; i < kBlock; ++i) {
        ASSERT_EQ(block.outputData[0][i], 1.0f + material.left[i]);
        ASSERT_EQ(block.outputData[1][i], -1.0f + material.right[i]);
    }
}

class MonoHostTest : public ::testing::TestWithParam<int32_t> {};

// A mono host: one input and one output connected, second entries null. Both effect inputs
// see the one input, the second output goes to a discard buffer, and neither the input nor the
// host's pointer arrays are written: a pointer of the plug-in's left there would dangle once
// its buffer grows.
TEST_P(MonoHostTest, RepairsBuffersAndLeavesTheInputAlone) {
    UnityGainPlugin unity;
    unity.plugin.SetConnectedChannels(1, 1);
    unity.plugin.SetChannelMode(GetParam());
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    block.inputs[1] = nullptr;
    block.outputs[1] = nullptr;
    const std::vector<float> input = block.inputData[0];
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);

    EXPECT_EQ(block.inputData[0], input);
    EXPECT_EQ(block.inputs[1], nullptr);
    EXPECT_EQ(block.outputs[1], nullptr);
    EXPECT_EQ(block.outputData[0], input);
    ASSERT_GE(unity.effect().Calls(), 1);
    EXPECT_EQ(unity.effect().CallFirstInput(0, 0), input[0]);
}

INSTANTIATE_TEST_SUITE_P(Modes, MonoHostTest,
                         ::testing::Values(kKivChannelModeLeftRight, kKivChannelModeLeft, kKivChannelModeMid,
                                           kKivChannelModeSide, kKivChannelModeMidSide,
                                           kKivChannelModeLeftRightNegated));

TEST(ProcessAudioTest, MonoEffectInputFeedsBothEffectChannels) {
    UnityGainPlugin unity;
    unity.plugin.SetConnectedChannels(1, 2);
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    block.inputs[1] = nullptr;
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
    EXPECT_EQ(block.outputData[0], material.left);
    EXPECT_EQ(block.outputData[1], material.left);
}

KivString lastTrace;
void RememberTrace(const KivString& text) { lastTrace = text; }

class EffectFailureTest : public ::testing::TestWithParam<UnityGainEffect::Failure> {};

TEST_P(EffectFailureTest, NeverEscapesAndLeavesThePluginUsable) {
    UnityGainPlugin unity;
    StereoMaterial material(2 * kBlock);
    HostBlock block(2, kBlock);
    lastTrace = KivString();
    const KivTrace::Sink previous = KivTrace::SetSink(&RememberTrace);
    unity.effect().FailNextProcess(GetParam());
    block.Load(material, 0);
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
    KivTrace::SetSink(previous);
    if (GetParam() == UnityGainEffect::Failure::kSystem) {
        EXPECT_EQ(lastTrace, KivString("SYSTEM EXCEPTION! KivAudioEffectPluginToAudioPluginAdapter::Process"));
    } else {
        EXPECT_TRUE(lastTrace.IsEmpty());  // the framework's own exceptions are dropped quietly
    }

    block.Load(material, kBlock);
    unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
    EXPECT_EQ(block.outputData[0], std::vector<float>(material.left.begin() + kBlock, material.left.end()));
    // The processing mutex was released: configuration still goes through.
    unity.plugin.InitProcessing();
}

INSTANTIATE_TEST_SUITE_P(Kinds, EffectFailureTest,
                         ::testing::Values(UnityGainEffect::Failure::kFramework, UnityGainEffect::Failure::kSystem));

}  // namespace
