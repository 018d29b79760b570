#include <gtest/gtest.h>

#include "parameters/kiv_parameter_bool.h"
#include "parameters/kiv_parameter_core_link.h"
#include "parameters/kiv_parameter_effect_link.h"
#include "parameters/kiv_parameter_enum.h"
#include "parameters/kiv_parameter_float.h"
#include "parameters/kiv_parameter_group.h"
#include "parameters/kiv_parameter_int.h"
#include "parameters/kiv_parameter_value_functions.h"
#include "tests/parameters/kiv_test_records.h"
#include "tests/support/kiv_test_print.h"

namespace {

struct RecordingEffect : KivParameterEffectLink {
    int changes = 0;
    int lastIndex = -1;
    int reprepares = 0;
    void OnParameterChanged(int32_t recordIndex) override {
        ++changes;
        lastIndex = recordIndex;
    }
    void MarkForReprepare() override { ++reprepares; }
};

struct RecordingCore : KivParameterCoreLink {
    int editorUpdates = 0;
    void NeedUpdateEditor(KivAutomationAdapter&) override { ++editorUpdates; }
    void SendAllAutomation(KivAutomationAdapter&) override {}
};

template <typename Parameter>
Parameter Make(KivEffectParameter& record, KivParameterEffectLink* effect = nullptr,
               KivParameterCoreLink* core = nullptr, KivParameterEditorLink editor = nullptr) {
    return Parameter(core, effect, record, editor, 7, "", "");
}

TEST(KivParameterFloat, MappingThroughRangeAndCurve) {
    auto linear = KivTestFloat("Gain", -24.0, 24.0, 0.0);
    auto gain = Make<KivParameterFloat>(linear);
    EXPECT_DOUBLE_EQ(gain.GetParameter(0), 0.5);
    gain.SetParameter(0, 0.75, false);
    EXPECT_DOUBLE_EQ(linear.values.asFloat.value, 12.0);
    EXPECT_DOUBLE_EQ(gain.GetParameterDefaultValue(0), 0.5);

    auto fourth = KivTestFloat("Time", 0.0, 10.0, 0.625, kKivParameterCurveFourthPower);
    auto time = Make<KivParameterFloat>(fourth);
    EXPECT_DOUBLE_EQ(time.GetParameter(0), 0.5);
    time.SetParameter(0, 0.5, false);
    EXPECT_DOUBLE_EQ(fourth.values.asFloat.value, 0.625);
    fourth.values.asFloat.defaultValue = 2.5;  // (2.5 / 10)^(1/4) = 1 / sqrt(2)
    EXPECT_NEAR(time.GetParameterDefaultValue(0), 0.7071067811865476, 1e-15);

    auto square = KivTestFloat("Mix", 0.0, 4.0, 1.0, kKivParameterCurveSquare);
    auto mix = Make<KivParameterFloat>(square);
    EXPECT_DOUBLE_EQ(mix.GetParameter(0), 0.5);
    EXPECT_EQ(mix.GetParameterType(0), 1);
}

TEST(KivParameterFloat, TextsFromValueFunctionFormatOrPlainNumber) {
    auto record = KivTestFloat("Gain", -24.0, 24.0, -3.0);
    auto gain = Make<KivParameterFloat>(record);
    EXPECT_EQ(gain.GetParameterValueName(0), KivString("-3.000000"));
    record.format = "{+0.2} dB";
    EXPECT_EQ(gain.GetParameterValueName(0), KivString("-3.00 dB"));
    EXPECT_EQ(gain.GetParameterValueNameFrom01(0, 0.75), KivString("+12.00 dB"));
    EXPECT_DOUBLE_EQ(gain.ParseParameterValueName(0, "12 dB"), 0.75);
    EXPECT_DOUBLE_EQ(gain.ParseParameterValueName(0, "48"), 1.5);  // not clamped

    auto time = KivTestFloat("Attack", 0.0, 1.0, 0.0125);
    time.valueFunction = KivTimeValueFunction;
    auto attack = Make<KivParameterFloat>(time);
    EXPECT_EQ(attack.GetParameterValueName(0), KivString("13 ms"));
    EXPECT_EQ(attack.GetParameterValueNameFrom01(0, 0.5), KivString("500 ms"));
    EXPECT_DOUBLE_EQ(attack.ParseParameterValueName(0, "250 ms"), 0.25);
    EXPECT_DOUBLE_EQ(time.values.asFloat.value, 0.0125);  // parsing works on a copy

    auto level = KivTestFloat("Threshold", 0.0, 1.0, 0.5);
    level.valueFunction = KivVolumeValueFunction;
    auto threshold = Make<KivParameterFloat>(level);
    EXPECT_EQ(threshold.GetParameterValueName(0), KivString("-12.0 dB"));  // 0.5^2 = 0.25
    EXPECT_NEAR(threshold.ParseParameterValueName(0, "-6 dB"), 0.7079457843841379, 1e-12);

    auto share = KivTestFloat("Dry/wet", 0.0, 1.0, 0.005);
    share.valueFunction = KivPercentValueFunction;
    EXPECT_EQ(Make<KivParameterFloat>(share).GetParameterValueName(0), KivString("0.50%"));
}

TEST(KivParameterFloat, InterpolationWritesTargetsAndReportsChanges) {
    RecordingEffect effect;
    RecordingCore core;
    KivParameterView* view = nullptr;
    auto record = KivTestFloat("Gain", 0.0, 10.0, 2.0);
    record.flags |= KivEffectParameter::kInterpolated | KivEffectParameter::kReprepares;
    auto gain = Make<KivParameterFloat>(record, &effect, &core, &view);
    EXPECT_TRUE(gain.IsInterpolated(0));
    gain.SetInterpolating(0, true);
    EXPECT_DOUBLE_EQ(record.values.asFloat.target, 2.0);
    gain.SetParameter(0, 0.5, true);
    EXPECT_DOUBLE_EQ(record.values.asFloat.target, 5.0);
    EXPECT_DOUBLE_EQ(record.values.asFloat.value, 2.0);
    EXPECT_EQ(effect.changes, 0);
    gain.SetInterpolating(0, false);
    gain.SetParameter(0, 0.3, false);
    EXPECT_DOUBLE_EQ(record.values.asFloat.value, 3.0);
    EXPECT_EQ(effect.changes, 1);
    EXPECT_EQ(effect.lastIndex, 7);
    EXPECT_EQ(effect.reprepares, 1);
    EXPECT_EQ(core.editorUpdates, 1);
    gain.SetParameterIfChanged(0, 0.3, false);
    EXPECT_EQ(effect.changes, 1);
    gain.SetParameterIfChanged(0, 0.4, false);
    EXPECT_EQ(effect.changes, 2);
}

TEST(KivParameterInt, TruncatesTowardZero) {
    auto record = KivTestInteger("Steps", 0, 10, 5);
    auto steps = Make<KivParameterInt>(record);
    steps.SetParameter(0, 0.29, false);
    EXPECT_EQ(record.values.asInteger.value, 2);
    steps.SetParameter(0, 0.3, false);
    EXPECT_EQ(record.values.asInteger.value, 3);
    EXPECT_DOUBLE_EQ(steps.GetParameter(0), 0.3);
    EXPECT_DOUBLE_EQ(steps.GetParameterDefaultValue(0), 0.5);
    EXPECT_EQ(steps.GetParameterValueName(0), KivString("3"));
    EXPECT_EQ(steps.GetParameterValueNameFrom01(0, 0.99), KivString("9"));
    EXPECT_DOUBLE_EQ(steps.ParseParameterValueName(0, "4"), 0.4);
    record.format = "{0} x";
    EXPECT_EQ(steps.GetParameterValueName(0), KivString("3 x"));
    EXPECT_EQ(steps.GetParameterType(0), 2);
}

const char* const kShapes[] = {"Linear", "Squared", "Logarithmic"};

TEST(KivParameterEnum, NearestItemsAndFoldedParsing) {
    auto record = KivTestEnumeration("Shape", kShapes, 3, 0);
    auto shape = Make<KivParameterEnum>(record);
    const double settings[] = {0.0, 0.5, 1.0, 0.2, 0.8};
    const int32_t expected[] = {0, 1, 2, 0, 2};
    for (int i = 0; i < 5; ++i) {
        shape.SetParameter(0, settings[i], false);
        EXPECT_EQ(record.values.asEnumeration.index, expected[i]) << settings[i];
        EXPECT_DOUBLE_EQ(shape.GetParameter(0), expected[i] * 0.5);
    }
    EXPECT_EQ(shape.GetParameterValueName(0), KivString("Logarithmic"));
    EXPECT_EQ(shape.GetParameterValueNameFrom01(0, 0.4), KivString("Squared"));
    EXPECT_DOUBLE_EQ(shape.ParseParameterValueName(0, "squared"), 0.5);
    EXPECT_DOUBLE_EQ(shape.ParseParameterValueName(0, "Cubic"), 0.0);
    EXPECT_DOUBLE_EQ(shape.GetParameterDefaultValue(0), 0.0);
    EXPECT_EQ(shape.GetParameterType(0), 3);
}

TEST(KivParameterSwitches, BoolAndGroupTurnOnFromHalf) {
    auto record = KivTestBool("Bypass", false);
    auto bypass = Make<KivParameterBool>(record);
    bypass.SetParameter(0, 0.49, false);
    EXPECT_EQ(record.values.asBool.value, 0);
    EXPECT_EQ(bypass.GetParameterValueName(0), KivString("Off"));
    bypass.SetParameter(0, 0.5, false);
    EXPECT_EQ(record.values.asBool.value, 1);
    EXPECT_EQ(bypass.GetParameterValueName(0), KivString("On"));
    EXPECT_DOUBLE_EQ(bypass.GetParameterDefaultValue(0), 0.0);  // declared off
    EXPECT_EQ(bypass.GetParameterStepCount(0), 1);
    // Typed text reads as the switch shows it: "On"/"Off" in any case, numbers from half up.
    EXPECT_DOUBLE_EQ(bypass.ParseParameterValueName(0, " on "), 1.0);
    EXPECT_DOUBLE_EQ(bypass.ParseParameterValueName(0, "OFF"), 0.0);
    EXPECT_DOUBLE_EQ(bypass.ParseParameterValueName(0, "0.75"), 1.0);
    EXPECT_EQ(bypass.GetParameterType(0), 4);

    uint8_t enabled = 0;
    auto groupRecord = KivTestGroup("Compressor", &enabled);
    auto group = Make<KivParameterGroup>(groupRecord);
    group.SetParameter(0, 0.9, false);
    EXPECT_EQ(enabled, 1);
    EXPECT_DOUBLE_EQ(group.GetParameter(0), 1.0);
    EXPECT_EQ(group.GetParameterValueNameFrom01(0, 0.1), KivString("Off"));
    EXPECT_EQ(group.GetParameterType(0), 4);
    // A group declares no default: its switch as the object finds it is the factory setting.
    EXPECT_DOUBLE_EQ(group.GetParameterDefaultValue(0), 0.0);
    uint8_t onAtStart = 1;
    auto onRecord = KivTestGroup("Limiter", &onAtStart);
    auto onGroup = Make<KivParameterGroup>(onRecord);
    onGroup.SetParameter(0, 0.0, false);
    EXPECT_DOUBLE_EQ(onGroup.GetParameterDefaultValue(0), 1.0);
}

TEST(KivParameterNames, SectionsAndQualifiers) {
    auto record = KivTestFloat("Threshold", 0.0, 1.0, 0.5);
    KivParameterFloat plain(nullptr, nullptr, record, nullptr, 0, "", "");
    EXPECT_EQ(plain.GetParameterName(0), KivString("Threshold"));
    EXPECT_EQ(plain.GetParameterID(0), KivString("Threshold"));
    record.qualifier1 = "Band 1";
    record.qualifier2 = "Left";
    KivParameterFloat placed(nullptr, nullptr, record, nullptr, 0, "", "Compressor");
    EXPECT_EQ(placed.GetParameterName(0), KivString("Threshold (Compressor)"));
    EXPECT_EQ(placed.GetParameterNameWithoutSection(0), KivString("Threshold"));
    EXPECT_EQ(placed.GetParameterSection(0), KivString("Band 1 - Left - Compressor"));
    EXPECT_EQ(placed.GetParameterID(0), KivString("Band 1 - Left Threshold (Compressor)"));
}

}  // namespace
