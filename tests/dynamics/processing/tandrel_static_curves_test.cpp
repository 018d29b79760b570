#include <gtest/gtest.h>

#include <cmath>

#include "tests/dynamics/processing/tandrel_rig.h"

// Settled output level of DC from -100 dB to +6 dB through the whole effect, against the
// transfer shapes worked out in python3 from their breakpoints (knee 0, so every segment is a
// straight line in the mode's domain: amplitude, root amplitude or decibels).
namespace {

constexpr double kLevels[] = {-100, -60, -40, -30, -20, -12, -6, 0, 6};
constexpr int32_t kLevelCount = 9;
constexpr double kSilence = -999.0;  // the shape gives exactly nothing
using Expected = double[3][kLevelCount];  // Linear, Squared, Logarithmic

struct Case {
    const char* name;
    void (*configure)(TandrelRig&);
    Expected expected;
};

void Compressor(TandrelRig& rig) { rig.Compressor(-12.0, 2.0); }

const Case kCases[] = {
    // Processor 1 at -12 dB, 2:1: (-140, -140), (-12, -12), (0, -6); held above 0 dB.
    {"compressor", Compressor,
     {{-100, -60, -40, -30, -20, -12, -9.5081, -6, -6},
      {-100, -60, -40, -30, -20, -12, -9.2578, -6, -6},
      {-100, -60, -40, -30, -20, -12, -9.0, -6, -6}}},
    // Expander at -30 dB, 2: (-85, -140), (-30, -30), (0, 0): in decibels 2 dB out per dB in
    // below -30 dB; below -85 dB at most -140 dB comes out (silence).
    {"expander",
     [](TandrelRig& rig) {
         rig.Compressor(-30.0, 2.0);
         rig.effect().ProductSettings().expander1 = 1;
     },
     {{kSilence, -60.4873, -40.0335, -30, -20, -12, -6, 0, 0},
      {kSilence, -63.7675, -40.5797, -30, -20, -12, -6, 0, 0},
      {kSilence, -90, -50, -30, -20, -12, -6, 0, 0}}},
    // Processor 2 at -24 dB, 4:1 below processor 1 at -12 dB, 2:1: (-24, -24), (-12, -21), (0, -15).
    {"both processors",
     [](TandrelRig& rig) {
         rig.Compressor(-12.0, 2.0);
         rig.table().Switches().processor2 = 1;
         rig.Set(kTandrelThreshold2, TandrelRig::RootAmplitude(-24.0));
         rig.Set(kTandrelRatio2, 4.0);
         rig.Set(kTandrelKneeSize2, 0.0);
     },
     {{-100, -60, -40, -30, -23.3240, -21, -18.5081, -15, -15},
      {-100, -60, -40, -30, -23.1683, -21, -18.2578, -15, -15},
      {-100, -60, -40, -30, -23.0, -21, -18.0, -15, -15}}},
    // Gate alone at -40 dB, size 24 dB, bottom silence: nothing below -64 dB.
    {"gate",
     [](TandrelRig& rig) {
         rig.table().Switches().processor1 = 0;
         rig.table().Switches().gate = 1;
         rig.Set(kTandrelGateThreshold, TandrelRig::RootAmplitude(-40.0));
         rig.Set(kTandrelGateSize, 24.0);
         rig.Set(kTandrelGateKnee, 0.0);
         rig.Set(kTandrelGateBottom, 0.0);
     },
     {{kSilence, -68.0924, -40, -30, -20, -12, -6, 0, 0},
      {kSilence, -82.4479, -40, -30, -20, -12, -6, 0, 0},
      {kSilence, -506.6667, -40, -30, -20, -12, -6, 0, 0}}},
    // Range 6 dB: the slope returns to 1:1 6 dB above the threshold: (-6, -9), (0, -3).
    {"range",
     [](TandrelRig& rig) {
         Compressor(rig);
         rig.Set(kTandrelRange1, 6.0);
     },
     {{-100, -60, -40, -30, -20, -12, -9, -3, -3},
      {-100, -60, -40, -30, -20, -12, -9, -3, -3},
      {-100, -60, -40, -30, -20, -12, -9, -3, -3}}},
    // Maximise raises the shape by 6 dB so that 0 dB in gives 0 dB out.
    {"maximize",
     [](TandrelRig& rig) {
         Compressor(rig);
         rig.table().Record(kTandrelMaximize).values.asBool.value = 1;
     },
     {{-94, -54, -34, -24, -14, -6, -3.5081, 0, 0},
      {-94, -54, -34, -24, -14, -6, -3.2578, 0, 0},
      {-94.8980, -54.4898, -34.2857, -24.1837, -14.0816, -6, -3, 0, 0}}},
    // Above 0 dB the last segment goes on, to a point at +64 dB.
    {"DoNotLimitAbove0dB",
     [](TandrelRig& rig) {
         Compressor(rig);
         rig.effect().ProductSettings().doNotLimitAbove0dB = 1;
     },
     {{-100, -60, -40, -30, -20, -12, -9.5081, -6, -5.7907},
      {-100, -60, -40, -30, -20, -12, -9.2578, -6, -5.0462},
      {-100, -60, -40, -30, -20, -12, -9.0, -6, -3.0}}},
};

// Output level of DC at `decibels` after 0.3 s (30 attack times).
double SettledLevel(TandrelRig& rig, double decibels) {
    rig.plugin.InitProcessing();  // a fresh detector for every level
    const auto out = rig.RunConstant(13230, static_cast<float>(std::pow(10.0, decibels / 20.0)));
    return out.back() == 0.0f ? kSilence : Decibels(out.back());
}

}  // namespace

TEST(TandrelStaticCurves, SettledLevelsFollowTheShapeInEveryMode) {
    for (const Case& c : kCases) {
        for (int32_t mode = 0; mode < 3; ++mode) {
            TandrelRig rig;
            c.configure(rig);
            rig.SetItem(kTandrelShapeMode, mode);
            for (int32_t i = 0; i < kLevelCount; ++i) {
                const double expected = c.expected[mode][i];
                const double level = SettledLevel(rig, kLevels[i]);
                if (expected == kSilence) {
                    EXPECT_LE(level, -140.0) << c.name << " mode " << mode << " at " << kLevels[i] << " dB";
                } else {
                    // Decibels of far-below-hearing outputs carry the float's relative error.
                    EXPECT_NEAR(level, expected, std::max(0.01, 1e-4 * std::fabs(expected)))
                        << c.name << " mode " << mode << " at " << kLevels[i] << " dB";
                }
            }
        }
    }
}

// Nothing enabled: the gains blended with dry/wet as over any shape (a shape gain of 1), so
// dry/wet 0 passes the input unchanged.
TEST(TandrelStaticCurves, GainOnlyAppliesGainsAndDryWet) {
    TandrelRig rig;
    rig.table().Switches().processor1 = 0;
    rig.Set(kTandrelInputGain, 6.0);
    rig.Set(kTandrelOutputGain, -12.0);
    rig.Set(kTandrelDryWet, 0.5);
    const auto out = rig.RunConstant(1024, 0.25f);
    EXPECT_NEAR(out[1000], 0.25 * (std::pow(10.0, -6.0 / 20.0) * 0.5 + 0.5), 1e-6);
    rig.Set(kTandrelDryWet, 0.0);
    // The dry signal once the 5 ms ramp (221 samples at 44.1 kHz) is over.
    const auto dry = rig.RunConstant(1024, 0.25f);
    for (size_t i = 1; i < dry.size(); ++i) ASSERT_GE(dry[i], dry[i - 1]) << i;
    for (size_t i = 221; i < dry.size(); ++i) ASSERT_EQ(dry[i], 0.25f) << i;
}

// Half wet blends the processed and the dry signal at the gain level: 0.5 * g + 0.5.
TEST(TandrelStaticCurves, DryWetBlendsTheGain) {
    TandrelRig rig;
    rig.Compressor(-12.0, 2.0);
    rig.SetItem(kTandrelShapeMode, 2);
    rig.Set(kTandrelDryWet, 0.5);
    const auto out = rig.RunConstant(13230, 1.0f);
    EXPECT_NEAR(out.back(), 0.5 * std::pow(10.0, -6.0 / 20.0) + 0.5, 1e-5);
}
