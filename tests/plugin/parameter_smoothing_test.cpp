#include <gtest/gtest.h>

#include <vector>

#include "tests/plugin/fixtures/stereo_material.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

namespace {

class SmoothingTest : public ::testing::Test {
protected:
    SmoothingTest() : block_(2, 512), material_(512) {
        unity_.plugin.SetMaxLFOBlockSize(64);
        unity_.plugin.SetParameter(0, 0.0, false);
        Process(256);  // settles the smoothing on the current values
        unity_.effect().ForgetCalls();
    }

    void Process(int32_t count) {
        block_.Load(material_, 0);
        unity_.plugin.ProcessAudio(block_.inputs.data(), block_.outputs.data(), count, true);
    }

    std::vector<int32_t> Lengths() {
        std::vector<int32_t> lengths;
        for (int32_t call = 0; call < unity_.effect().Calls(); ++call) lengths.push_back(unity_.effect().CallLength(call));
        return lengths;
    }

    std::vector<float> Gains() {
        std::vector<float> gains;
        for (int32_t call = 0; call < unity_.effect().Calls(); ++call) gains.push_back(unity_.effect().CallGain(call));
        return gains;
    }

    UnityGainPlugin unity_;
    HostBlock block_;
    StereoMaterial material_;
};

TEST_F(SmoothingTest, RampArrivesInSubBlocksAndHoldsAfter) {
    unity_.plugin.SetParameter(0, 1.0, false);
    Process(256);
    EXPECT_EQ(Lengths(), (std::vector<int32_t>{64, 64, 64, 64}));
    EXPECT_EQ(Gains(), (std::vector<float>{0.0f, 0.25f, 0.5f, 0.75f}));
    // The host's value stays what the host set while the ramp runs.
    EXPECT_EQ(unity_.plugin.GetParameter(0), 1.0);

    unity_.effect().ForgetCalls();
    Process(256);
    EXPECT_EQ(Lengths(), std::vector<int32_t>{256});
    EXPECT_EQ(Gains(), std::vector<float>{1.0f});
}

TEST_F(SmoothingTest, SubBlocksShareTheBlockEvenlyAndTheLastTakesTheRest) {
    unity_.plugin.SetParameter(0, 1.0, false);
    Process(250);
    EXPECT_EQ(Lengths(), (std::vector<int32_t>{62, 62, 62, 64}));
    // Each sub-block starts where the ramp of 1/250 per sample has got to.
    EXPECT_EQ(Gains(), (std::vector<float>{0.0f, 62.0f / 250, 124.0f / 250, 186.0f / 250}));
}

TEST_F(SmoothingTest, TinyMoveTakesEffectAtOnce) {
    unity_.plugin.SetParameter(0, 0.00001, false);
    Process(256);
    EXPECT_EQ(Lengths(), std::vector<int32_t>{256});
    EXPECT_EQ(Gains(), std::vector<float>{0.00001f});
}

TEST_F(SmoothingTest, MoveBeforeAShortBlockTakesEffectAtOnceAndIsNotRampedLater) {
    unity_.plugin.SetParameter(0, 1.0, false);
    Process(64);
    Process(256);
    EXPECT_EQ(Lengths(), (std::vector<int32_t>{64, 256}));
    EXPECT_EQ(Gains(), (std::vector<float>{1.0f, 1.0f}));
}

TEST_F(SmoothingTest, SongPositionMovesOnWithEverySubBlock) {
    KivTransport& transport = unity_.plugin.GetTransport();
    transport.usesHostTime = true;
    transport.tempo = 120.0;
    transport.songPosition = 8.0;
    unity_.plugin.SetParameter(0, 1.0, false);
    Process(256);
    // Three sub-block starts after the first, 64 samples each, at 2 beats per second.
    EXPECT_DOUBLE_EQ(transport.songPosition, 8.0 + 3 * 64 * 2.0 / 44100);
}

TEST_F(SmoothingTest, ManyReprepareChangesCauseOneReprepare) {
    unity_.effect().GainRecord().SetFlag(KivEffectParameter::kReprepares, true);
    const int32_t before = unity_.effect().Reprepares();
    unity_.plugin.SetParameter(0, 0.3, false);
    unity_.plugin.SetParameter(0, 0.4, false);
    unity_.plugin.SetParameter(0, 0.5, false);
    Process(64);
    EXPECT_EQ(unity_.effect().Reprepares(), before + 1);
    Process(64);
    EXPECT_EQ(unity_.effect().Reprepares(), before + 1);
}

}  // namespace
