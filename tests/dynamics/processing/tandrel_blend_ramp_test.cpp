// The blend of shape gains with wet gain and dry moves linearly over its ramp, sample by
// sample, and stands at its target after it: worked by hand at 1 kHz, where the 5 ms ramp is
// 5 samples, from wet gain 1 and dry 0 to wet gain 2 and dry 0.5, over shape gains 1..8. At
// sample i of the ramp the wet gain is 1 + (i + 1) / 5 and the dry part 0.5 (i + 1) / 5.
// Checked apart, in place and as factors (shape gain 1), from the start and from within the
// ramp, so that the block's split into ramp and rest lands on the right sample.
#include <gtest/gtest.h>

#include <vector>

#include "dynamics/processing/tandrel_blend_ramp.h"

namespace {

TandrelBlendRamp RampFromUnityToTwo() {
    TandrelBlendRamp ramp;
    ramp.SetSampleRate(1000);
    ramp.Target({1.0, 0.0}, true);
    ramp.Target({2.0, 0.5}, false);
    return ramp;
}

TEST(TandrelBlendRamp, MovesLinearlyOverItsSamplesAndStandsAtItsTarget) {
    const std::vector<double> shape = {1, 2, 3, 4, 5, 6, 7, 8};
    // 1 x 1.2 + 0.1, 2 x 1.4 + 0.2, 3 x 1.6 + 0.3, 4 x 1.8 + 0.4, 5 x 2 + 0.5, then x 2 + 0.5.
    const std::vector<double> blended = {1.3, 3.0, 5.1, 7.6, 10.5, 12.5, 14.5, 16.5};
    const std::vector<double> factors = {1.3, 1.6, 1.9, 2.2, 2.5, 2.5, 2.5, 2.5};
    TandrelBlendRamp ramp = RampFromUnityToTwo();
    ASSERT_TRUE(ramp.IsMoving());
    std::vector<double> gains(8), inPlace = shape, unit(8);
    ramp.Apply(shape.data(), gains.data(), 8);
    ramp.Apply(inPlace.data(), inPlace.data(), 8);
    ramp.Factors(unit.data(), 8);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_NEAR(gains[i], blended[i], 1e-12) << i;
        EXPECT_EQ(inPlace[i], gains[i]) << i;
        EXPECT_NEAR(unit[i], factors[i], 1e-12) << i;
    }
    // Two samples on, the ramp goes on from its third sample: wet gain 1.6, dry 0.3.
    ramp.Advance(2);
    ramp.Apply(shape.data(), gains.data(), 4);
    EXPECT_NEAR(gains[0], 1 * 1.6 + 0.3, 1e-12);
    EXPECT_NEAR(gains[2], 3 * 2.0 + 0.5, 1e-12);
    EXPECT_NEAR(gains[3], 4 * 2.0 + 0.5, 1e-12);
    EXPECT_NEAR(ramp.Current().wetGain, 1.4, 1e-12);
    ramp.Advance(3);
    EXPECT_FALSE(ramp.IsMoving());
    ramp.Factors(unit.data(), 3);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(unit[i], 2.5) << i;
}

}  // namespace
