#include "parameters/kiv_parameter_randomizer.h"

#include <gtest/gtest.h>

#include "parameters/kiv_random_generator.h"
#include "tests/parameters/kiv_test_records.h"

namespace {

// From seed 12345 the generator gives the seeds 2644521496, 1255958651, 3837989202 and the
// draws 0.2314523758659627, 0.5848567155980102, 0.7872249519333476 (bit 16: 0, 0, 1).
constexpr uint32_t kSeed = 12345;

KivEffectParameter Randomisable(KivEffectParameter record) {
    record.flags |= KivEffectParameter::kRandomisable;
    return record;
}

TEST(KivRandomGenerator, LinearCongruentialSequence) {
    KivRandomGenerator::SetSeed(kSeed);
    EXPECT_EQ(KivRandomGenerator::NextSeed(), 2644521496u);
    EXPECT_DOUBLE_EQ(KivRandomGenerator::Draw(), 0.5848567155980102);
    EXPECT_DOUBLE_EQ(KivRandomGenerator::Draw(), 0.7872249519333476);
    KivRandomGenerator::SetSeed(0xFFFFFFFFu);  // wraps around instead of overflowing
    EXPECT_EQ(KivRandomGenerator::NextSeed(), static_cast<uint32_t>(0xFFFFFFFFull * 214013u + 2531011u));
}

TEST(KivParameterRandomizer, FloatFullPerturbedAndWhole) {
    auto linear = Randomisable(KivTestFloat("Gain", 0.0, 10.0, 5.0));
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(linear, 1.0);
    EXPECT_DOUBLE_EQ(linear.values.asFloat.value, 2.314523758659627);

    auto curved = Randomisable(KivTestFloat("Time", 0.0, 10.0, 5.0, kKivParameterCurveFourthPower));
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(curved, 1.0);
    EXPECT_NEAR(curved.values.asFloat.value, 0.028697665738199627, 1e-15);

    auto perturbed = Randomisable(KivTestFloat("Gain", 0.0, 10.0, 5.0));
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(perturbed, 0.1);
    EXPECT_NEAR(perturbed.values.asFloat.value, 4.462904751731926, 1e-12);

    auto whole = Randomisable(KivTestFloat("Steps", 0.0, 10.0, 5.0));
    whole.flags2 |= KivEffectParameter::kWholeNumbers;
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(whole, 1.0);
    EXPECT_DOUBLE_EQ(whole.values.asFloat.value, 2.0);
}

TEST(KivParameterRandomizer, IntegersItemsAndSwitches) {
    auto integer = Randomisable(KivTestInteger("Count", -5, 5, 0));
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(integer, 1.0);
    EXPECT_EQ(integer.values.asInteger.value, -3);  // 0.2315 * 10 - 5 = -2.69
    integer.values.asInteger.value = 0;
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(integer, 0.5);
    EXPECT_EQ(integer.values.asInteger.value, -3);  // 0 + round(0.2315 * 10 - 5)

    static const char* const items[] = {"A", "B", "C"};
    auto enumeration = Randomisable(KivTestEnumeration("Mode", items, 3, 2));
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(enumeration, 1.0);
    EXPECT_EQ(enumeration.values.asEnumeration.index, 0);  // trunc(0.2315 * 3)

    auto toggle = Randomisable(KivTestBool("Link", true));
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(toggle, 0.4);
    EXPECT_EQ(toggle.values.asBool.value, 1);
    EXPECT_EQ(KivRandomGenerator::GetSeed(), kSeed);  // below 0.5 nothing is drawn
    KivParameterRandomizer::Randomize(toggle, 0.5);
    EXPECT_EQ(toggle.values.asBool.value, 0);
    KivParameterRandomizer::Randomize(toggle, 0.5);
    KivParameterRandomizer::Randomize(toggle, 0.5);
    EXPECT_EQ(toggle.values.asBool.value, 1);

    uint8_t enabled = 1;
    auto group = Randomisable(KivTestGroup("Gate", &enabled));
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(group, 1.0);
    EXPECT_EQ(enabled, 0);
}

TEST(KivParameterRandomizer, OnlyRandomisableRecordsUnlessForced) {
    auto record = KivTestFloat("Gain", 0.0, 10.0, 5.0);
    KivRandomGenerator::SetSeed(kSeed);
    KivParameterRandomizer::Randomize(record, 1.0);
    EXPECT_DOUBLE_EQ(record.values.asFloat.value, 5.0);
    KivParameterRandomizer::Randomize(record, 1.0, true);
    EXPECT_DOUBLE_EQ(record.values.asFloat.value, 2.314523758659627);
}

}  // namespace
