#include <gtest/gtest.h>

#include <cmath>

#include "dynamics/gain/kiv_dynamics_gain_stage.h"
#include "dynamics/gain/kiv_transfer_shape_builder.h"
#include "envelope/kiv_envelope.h"

namespace {

double Level(double decibels) { return std::pow(10.0, decibels / 20.0); }
double Decibels(double level) { return 20.0 * std::log10(level); }

KivDynamicsProcessorDescription Compressor(double thresholdDecibels, double ratio, double knee = 0.0) {
    return {Level(thresholdDecibels), ratio, knee, 96.0, 1};
}

TEST(KivTransferShapeBuilder, PointsInLinearAmplitude) {
    KivDynamicsProcessorDescription processor = Compressor(-12, 2, 0.25);
    KivEnvelope shape;
    EXPECT_NEAR(BuildTransferShape(&processor, 1, nullptr, shape, 0.0, false), 0.251188643150958, 1e-12);
    // The silent first row falls onto the start point and is merged away.
    ASSERT_EQ(shape.GetPointCount(), 3);
    EXPECT_EQ(shape.GetPoint(0).x, 0.0);
    EXPECT_EQ(shape.GetPoint(0).y, 0.0);
    EXPECT_NEAR(shape.GetPoint(1).x, 0.251188643150958, 1e-12);
    EXPECT_NEAR(shape.GetPoint(1).y, 0.251188643150958, 1e-12);
    EXPECT_NEAR(shape.GetPoint(2).x, 1.0, 1e-15);
    EXPECT_NEAR(shape.GetPoint(2).y, 0.501187233627272, 1e-12);
    // The knee rounds the threshold corner only; the ends are locked.
    EXPECT_EQ(shape.GetPoint(1).curvature, 0.0);  // the segments stay straight
    EXPECT_EQ(shape.GetPoint(1).leftSmoothness, 0.25);
    EXPECT_EQ(shape.GetPoint(1).segmentType, 1);
    EXPECT_EQ(shape.GetPoint(2).curvature, 0.0);
    EXPECT_TRUE(shape.GetPoint(0).IsLocked());
    EXPECT_FALSE(shape.GetPoint(1).IsLocked());
    EXPECT_TRUE(shape.GetPoint(2).IsLocked());
}

TEST(KivTransferShapeBuilder, ExtensionAbove0dBContinuesTheLastSegment) {
    KivDynamicsProcessorDescription processor = Compressor(-12, 2);
    KivEnvelope shape;
    BuildTransferShape(&processor, 1, nullptr, shape, 0.0, true);
    ASSERT_EQ(shape.GetPointCount(), 4);
    // +64 dB in, -6 + 64 / 2 = +26 dB out.
    EXPECT_NEAR(shape.GetPoint(3).x, 1584.8931924611134, 1e-9);
    EXPECT_NEAR(shape.GetPoint(3).y, 19.952623149688797, 1e-10);
    EXPECT_TRUE(shape.GetPoint(3).IsLocked());
    EXPECT_FALSE(shape.GetPoint(2).IsLocked());
}

// Output levels of built shapes in every mode, worked out from the breakpoints with the
// interpolation of each domain (linear amplitude, root amplitude, log10).
struct LevelCase {
    const char* name;
    KivDynamicsProcessorDescription processors[2];
    int32_t processorCount;
    bool gated;
    bool extend;
    double input;  // dB
    double expected[kKivShapeModeCount];  // dB out: Linear, Squared, Logarithmic
};

const LevelCase kLevelCases[] = {
    {"compressor below", {Compressor(-12, 2)}, 1, false, false, -20, {-20, -20, -20}},
    {"compressor above", {Compressor(-12, 2)}, 1, false, false, -6, {-9.5081, -9.2578, -9}},
    {"held above 0 dB", {Compressor(-12, 2)}, 1, false, false, 6, {-6, -6, -6}},
    {"extended above 0 dB", {Compressor(-12, 2)}, 1, false, true, 6, {-5.7907, -5.0462, -3}},
    {"extended further", {Compressor(-12, 2)}, 1, false, true, 12, {-5.3876, -3.7824, 0}},
    {"range", {{Level(-12), 2, 0, 6, 1}}, 1, false, false, -9, {-10.6289, -10.5647, -10.5}},
    {"range restored", {{Level(-12), 2, 0, 6, 1}}, 1, false, false, -3, {-6, -6, -6}},
    // The expansion meets silence at (-85, -140): in decibels 2 dB out per dB in below -30.
    {"expander", {{Level(-30), 2, 0, 96, 0}}, 1, false, false, -40, {-40.0335, -40.5797, -50}},
    {"expander deep", {{Level(-30), 2, 0, 96, 0}}, 1, false, false, -60, {-60.4873, -63.7675, -90}},
    {"both below", {Compressor(-40, 2), {Level(-20), 2, 0, 10, 0}}, 2, false, false, -35, {-52.8549, -52.6793, -52.5}},
    {"both between", {Compressor(-40, 2), {Level(-20), 2, 0, 10, 0}}, 2, false, false, -25, {-37.4539, -38.6082, -40}},
    {"both above", {Compressor(-40, 2), {Level(-20), 2, 0, 10, 0}}, 2, false, false, -10, {-26.3660, -25.7098, -25}},
    {"gate knee", {}, 0, true, false, -52, {-53.6074, -55.8970, -60}},
    {"gate open", {}, 0, true, false, -30, {-30, -30, -30}},
    {"worked example", {Compressor(-30, 2)}, 1, false, false, -20, {-27.5461, -26.3918, -25}},
};

class KivTransferShapeLevels : public ::testing::TestWithParam<LevelCase> {};

TEST_P(KivTransferShapeLevels, OutputLevelInEveryMode) {
    const LevelCase& level = GetParam();
    KivDynamicsGateDescription gate{0.01, 0.0, 24.0, 1e-4};  // -40 dB, bottom -80 dB
    for (int32_t mode = 0; mode < kKivShapeModeCount; ++mode) {
        KivEnvelope shape;
        KivEnvelope meterShape;
        BuildTransferShape(level.processors, level.processorCount, level.gated ? &gate : nullptr, shape, 0.0,
                           level.extend);
        KivDynamicsGainStage stage;
        stage.Apply({1.0, 1.0, 1.0, static_cast<KivShapeMode>(mode)}, shape, meterShape);
        double envelope = Level(level.input);
        double gain = 0.0;
        stage.ComputeGains(&envelope, &gain, 1);
        EXPECT_NEAR(Decibels(gain * envelope), level.expected[mode], 1e-3) << level.name << ", mode " << mode;
        EXPECT_NEAR(stage.MeterGain(envelope), gain, 1e-12) << level.name << ", mode " << mode;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, KivTransferShapeLevels, ::testing::ValuesIn(kLevelCases));

TEST(KivDynamicsGainStage, WorkedExamplesOfTheHelpText) {
    // 10 dB over a -30 dB threshold at 2:1: 5, 6.4 and 7.5 dB of attenuation.
    const double expected[kKivShapeModeCount] = {-27.5, -26.4, -25.0};
    for (int32_t mode = 0; mode < kKivShapeModeCount; ++mode) {
        KivDynamicsProcessorDescription processor = Compressor(-30, 2);
        KivEnvelope shape;
        KivEnvelope meterShape;
        BuildTransferShape(&processor, 1, nullptr, shape, 0.0, false);
        KivDynamicsGainStage stage;
        stage.Apply({1.0, 1.0, 1.0, static_cast<KivShapeMode>(mode)}, shape, meterShape);
        double envelope = Level(-20);
        double gain = 0.0;
        stage.ComputeGains(&envelope, &gain, 1);
        EXPECT_NEAR(Decibels(gain * envelope), expected[mode], 0.05) << "mode " << mode;
    }
}

TEST(KivDynamicsGainStage, BlendsWithDryAndGains) {
    KivDynamicsProcessorDescription processor = Compressor(-12, 2);
    KivEnvelope shape;
    KivEnvelope meterShape;
    BuildTransferShape(&processor, 1, nullptr, shape, 0.0, false);
    KivDynamicsGainStage stage;
    stage.Apply({0.5, 2.0, 1.5, kKivShapeLogarithmic}, shape, meterShape);
    EXPECT_DOUBLE_EQ(stage.GetWetGain(), 1.5);
    EXPECT_DOUBLE_EQ(stage.GetInverseGain(), 1.0 / 3.0);
    // 0 dB envelope: shape gain -6 dB, then 0.501187 * 2 * 1.5 * 0.5 + 0.5.
    double envelope[3] = {1.0, 1.0, Level(-20)};
    double gains[3];
    stage.ComputeGains(envelope, gains, 3);
    EXPECT_NEAR(gains[0], 1.2517808504409, 1e-9);
    EXPECT_NEAR(gains[2], 2.0, 1e-9);  // below the threshold only the gains act: 1.5 + 0.5
    float signal[3] = {0.5f, -1.0f, 0.25f};
    stage.MultiplyGains(envelope, signal, 3);
    EXPECT_NEAR(signal[1], -1.2517808504409, 1e-6);
    // Meters: silence shows no reduction, a wet share of the shape gain otherwise.
    EXPECT_EQ(stage.MeterGain(0.0), 1.0);
    EXPECT_NEAR(stage.MeterGain(1.0), 0.501187233627272 * 0.5 + 0.5, 1e-9);
}

TEST(KivDynamicsGainStage, MeterGainIsLimited) {
    KivEnvelope shape;  // a constant 0 dB output: the gain grows as the level falls
    shape.AddPoint(0.0, 1.0);
    shape.AddPoint(1.0, 1.0);
    KivEnvelope meterShape;
    KivDynamicsGainStage stage;
    stage.Apply({1.0, 1.0, 1.0, kKivShapeLinear}, shape, meterShape);
    EXPECT_NEAR(stage.MeterGain(0.01), 100.0, 1e-9);
    EXPECT_EQ(stage.MeterGain(1e-6), 1000.0);
}

TEST(KivDynamicsGainStage, LongBlocksRunInChunks) {
    KivDynamicsProcessorDescription processor = Compressor(-12, 2);
    KivEnvelope shape;
    KivEnvelope meterShape;
    BuildTransferShape(&processor, 1, nullptr, shape, 0.0, false);
    KivDynamicsGainStage stage;
    stage.Apply({1.0, 1.0, 1.0, kKivShapeLogarithmic}, shape, meterShape);
    constexpr int32_t kCount = KivDynamicsGainStage::kChunk * 2 + 17;
    double envelope[kCount];
    double gains[kCount];
    for (int32_t i = 0; i < kCount; ++i) envelope[i] = Level(-40.0 + 40.0 * i / (kCount - 1));  // rising
    envelope[kCount - 2] = 1.0;
    envelope[kCount - 1] = Level(-18);  // and a jump back down
    stage.ComputeGains(envelope, gains, kCount);
    EXPECT_NEAR(Decibels(gains[0]), 0.0, 1e-9);
    EXPECT_NEAR(Decibels(gains[kCount - 2]), -6.0, 1e-9);
    EXPECT_NEAR(Decibels(gains[kCount - 1]), 0.0, 1e-9);
}

TEST(KivDynamicsGainStage, GainsFromLogarithmsMatchGainsFromEnvelopes) {
    // The detector hands out natural logarithms in the logarithmic mode; every mode must
    // give the gains of the envelopes themselves, up to rounding.
    KivDynamicsProcessorDescription processors[2] = {Compressor(-12, 4), Compressor(-40, 2)};
    for (int32_t mode = 0; mode < kKivShapeModeCount; ++mode) {
        KivEnvelope shape;
        KivEnvelope meterShape;
        BuildTransferShape(processors, 2, nullptr, shape, 0.0, true);
        KivDynamicsGainStage stage;
        stage.Apply({0.8, 1.0, 1.0, static_cast<KivShapeMode>(mode)}, shape, meterShape);
        constexpr int32_t kCount = KivDynamicsGainStage::kChunk + 77;
        double envelope[kCount], logarithms[kCount], direct[kCount], fromLogarithms[kCount];
        for (int32_t i = 0; i < kCount; ++i) {
            envelope[i] = Level(-100.0 + 106.0 * ((i * 37) % kCount) / kCount);  // jumping, up to +6 dB
            logarithms[i] = std::log(envelope[i]);
        }
        stage.ComputeGains(envelope, direct, kCount);
        stage.ComputeGainsFromLogarithms(logarithms, fromLogarithms, kCount);
        for (int32_t i = 0; i < kCount; ++i)
            EXPECT_NEAR(fromLogarithms[i], direct[i], 1e-13 * direct[i]) << "mode " << mode << ", sample " << i;
    }
}

}  // namespace
