#include <gtest/gtest.h>

#include "base/xml/kiv_xml_item.h"
#include "parameters/values/kiv_value_enum.h"
#include "parameters/values/kiv_value_frequency.h"
#include "parameters/values/kiv_value_frequency_log.h"
#include "parameters/values/kiv_value_list.h"
#include "parameters/values/kiv_value_midi_note.h"
#include "parameters/values/kiv_value_percents.h"
#include "parameters/values/kiv_value_scale_power.h"
#include "parameters/values/kiv_value_step_percents.h"
#include "parameters/values/kiv_value_time_ms.h"
#include "parameters/values/kiv_value_volume.h"
#include "tests/support/kiv_test_print.h"

namespace {

TEST(KivValueNumber, PositionsStepsAndLimits) {
    double variable = 0.0;
    KivValueDouble value(variable, -24.0, 24.0, 0.0);
    EXPECT_DOUBLE_EQ(value.Get01(), 0.5);
    value.Set01(0.75);
    EXPECT_DOUBLE_EQ(variable, 12.0);
    value.SetIncrements(1.0, 3.0);
    value.StepAccelerated(1, 2);  // 4 x 1 limited to the maximum increment 3
    EXPECT_DOUBLE_EQ(variable, 15.0);
    value.Step(100);
    EXPECT_DOUBLE_EQ(variable, 24.0);
    EXPECT_DOUBLE_EQ(value.Get01(), 1.0);
    EXPECT_TRUE(value.TakeChanged());
    EXPECT_FALSE(value.IsChanged());
    EXPECT_TRUE(value.Reset());
    EXPECT_DOUBLE_EQ(variable, 0.0);
    EXPECT_FALSE(value.Reset());
    EXPECT_EQ(value.GetStepCount(), 49);
    KivValueDouble fractional(variable, 0.5, 3.5, 1.0);
    EXPECT_EQ(fractional.GetStepCount(), 3);
    KivValueDouble empty(variable, 2.0, 2.0, 2.0);
    EXPECT_DOUBLE_EQ(empty.Get01(), 0.0);
}

TEST(KivValueNumber, TextsThroughFormatOrPlainNumber) {
    double variable = -3.0;
    KivValueDouble value(variable, -60.0, 12.0, 0.0);
    EXPECT_EQ(value.GetText(), KivString("-3.000000"));
    EXPECT_EQ(value.GetDisplayText(), KivString("-3.000000"));
    value.SetFormat("{+0.2} dB");
    EXPECT_EQ(value.GetDisplayText(), KivString("-3.00 dB"));
    EXPECT_EQ(value.GetDisplayTextFrom01(1.0), KivString("+12.00 dB"));
    EXPECT_TRUE(value.SetDisplayText("-3.5 dB"));
    EXPECT_DOUBLE_EQ(variable, -3.5);
    EXPECT_TRUE(value.SetDisplayText("100 dB"));
    EXPECT_DOUBLE_EQ(variable, 12.0);
    value.SetText("  -7.25e0 units");
    EXPECT_DOUBLE_EQ(variable, -7.25);
    int whole = 3;
    KivValueInt integer(whole, 0, 10, 5);
    integer.Set01(0.29);
    EXPECT_EQ(whole, 2);
    EXPECT_EQ(integer.GetDisplayText(), KivString("2"));
    EXPECT_TRUE(integer.SetDisplayText("7"));
    EXPECT_EQ(whole, 7);
}

TEST(KivValueNumber, SettingsAndDefinitions) {
    double variable = 0.5;
    KivValueDouble value(variable, 0.0, 1.0, 0.25);
    KivXMLItem settings("settings");
    value.Store(settings, "mix");
    // 12 decimals are written in general notation, which drops trailing zeros.
    EXPECT_EQ(settings.GetAttribute("mix"), KivString("0.5"));
    settings.SetAttribute("mix", "0.75");
    value.Load(settings, "mix");
    EXPECT_DOUBLE_EQ(variable, 0.75);
    value.Load(settings, "absent");
    EXPECT_DOUBLE_EQ(variable, 0.25);

    KivXMLItem definition("knob");
    definition.SetAttribute("id", "drive");
    definition.SetAttribute("min", "-10");
    definition.SetAttribute("max", "10");
    definition.SetAttribute("value", "4");
    definition.SetAttribute("inc", "0.5");
    definition.SetAttribute("maxinc", "0.1");
    definition.SetAttribute("format", "gain {0.1}");
    value.LoadDefinition(definition);
    EXPECT_EQ(value.GetIdentifier(), KivString("drive"));
    EXPECT_DOUBLE_EQ(variable, 4.0);
    EXPECT_DOUBLE_EQ(value.GetDefault(), 4.0);
    EXPECT_DOUBLE_EQ(value.GetMaximumIncrement(), 0.5);
    EXPECT_EQ(value.GetDisplayText(), KivString("gain 4.0"));
    EXPECT_FALSE(value.SetDisplayText("volume 3"));
    EXPECT_DOUBLE_EQ(variable, 4.0);
    EXPECT_TRUE(value.SetDisplayText("gain much"));
    EXPECT_DOUBLE_EQ(variable, 0.0);
}

TEST(KivValueKinds, DisplayAndParsingOfUnits) {
    double variable = 0.0;
    KivValuePercents percents(variable, 0.0, 1.0, 0.0);
    percents.SetDisplayText("25 %");
    EXPECT_DOUBLE_EQ(variable, 0.25);
    EXPECT_EQ(percents.GetDisplayText(), KivString("25.0%"));

    KivValueTimeMS time(variable, 0.0, 1.0, 0.0);
    time.SetDisplayText("12.5 ms");
    EXPECT_DOUBLE_EQ(variable, 0.0125);
    EXPECT_EQ(time.GetDisplayText(), KivString("13 ms"));

    KivValueVolume volume(variable, 0.0, 4.0, 1.0);
    volume.SetDisplayText("-6 dB");
    EXPECT_NEAR(variable, 0.501187, 1e-6);
    volume.SetDisplayText("silence");
    EXPECT_DOUBLE_EQ(variable, 1.0);
    EXPECT_EQ(volume.GetDisplayText(), KivString("0.00 dB"));

    double logHertz = 3.0;
    KivValueFrequencyLog frequencyLog(logHertz, 1.0, 4.5, 3.0);
    EXPECT_EQ(frequencyLog.GetDisplayText(), KivString("1000 Hz"));
    EXPECT_FALSE(frequencyLog.SetDisplayText("0 Hz"));
    EXPECT_FALSE(frequencyLog.SetDisplayText("-5"));
    EXPECT_DOUBLE_EQ(logHertz, 3.0);
    EXPECT_TRUE(frequencyLog.SetDisplayText("100 Hz"));
    EXPECT_DOUBLE_EQ(logHertz, 2.0);

    int note = 60;
    KivValueMIDINote midiNote(note, 0, 127, 60);
    EXPECT_EQ(midiNote.GetDisplayText(), KivString("C5"));
}

TEST(KivValueKinds, FrequencyIsPositionedLogarithmically) {
    double hertz = 632.46;
    KivValueFrequency frequency(hertz, 20.0, 20000.0, 1000.0);
    EXPECT_NEAR(frequency.Get01(), 0.5, 1e-5);
    frequency.Set01(0.5);
    EXPECT_NEAR(hertz, 632.455532, 1e-6);
    EXPECT_EQ(frequency.GetDisplayTextFrom01(1.0), KivString("20.0 kHz"));
    KivValueFrequency single(hertz, 100.0, 100.0, 100.0);
    EXPECT_DOUBLE_EQ(single.Get01(), 1.0);
}

TEST(KivValueKinds, StepGridRoundsHalvesUp) {
    double variable = 0.0;
    KivValueStepPercents step(variable, 0.0, 1.0, 0.0);
    step.SetGrid(0.25);
    step.SetValue(0.6);
    EXPECT_DOUBLE_EQ(variable, 0.5);
    step.SetValue(0.625);
    EXPECT_DOUBLE_EQ(variable, 0.75);
    step.SetDisplayText("10%");
    EXPECT_DOUBLE_EQ(variable, 0.0);
    EXPECT_EQ(step.GetDisplayText(), KivString("0.00%"));
}

TEST(KivValueKinds, ScaledPositions) {
    double variable = 0.25;
    KivValueDouble inner(variable, 0.0, 1.0, 0.0);
    KivValueScaleSqr squareRoot(inner);
    EXPECT_DOUBLE_EQ(squareRoot.Get01(), 0.5);
    squareRoot.Set01(0.3);
    EXPECT_DOUBLE_EQ(variable, 0.09);
    EXPECT_TRUE(squareRoot.IsChanged());
    variable = 0.0625;
    KivValueScalePower<4> fourthRoot(inner);
    EXPECT_DOUBLE_EQ(fourthRoot.Get01(), 0.5);
    fourthRoot.Set01(0.5);
    EXPECT_DOUBLE_EQ(variable, 0.0625);
    EXPECT_EQ(fourthRoot.GetDisplayText(), inner.GetDisplayText());
}

enum class Mode { kLinear, kSquared, kLogarithmic };
const char* const kModeTexts[] = {"Linear", "Squared", "Logarithmic"};

TEST(KivValueItems, NearestItemAndFoldedParsing) {
    int index = 0;
    KivValueTextList list(index, kModeTexts, 3);
    list.Set01(0.24);
    EXPECT_EQ(index, 0);
    list.Set01(0.26);
    EXPECT_EQ(index, 1);
    EXPECT_DOUBLE_EQ(list.Get01(), 0.5);
    EXPECT_EQ(list.GetDisplayText(), KivString("Squared"));
    EXPECT_EQ(list.GetStepText(2), KivString("Logarithmic"));

    Mode mode = Mode::kLinear;
    KivValueEnum<Mode> value(mode, kModeTexts, 3);
    EXPECT_TRUE(value.SetDisplayText("logarithmic"));
    EXPECT_EQ(mode, Mode::kLogarithmic);
    value.SetDisplayText("cubic");
    EXPECT_EQ(mode, Mode::kLinear);
    value.Step(5);
    EXPECT_EQ(mode, Mode::kLogarithmic);

    KivStringList items;
    items.Add("One");
    items.Add("Two");
    KivValueStringList strings(index, items);
    KivXMLItem definition("menu");
    definition.SetAttribute("default", "two");
    strings.LoadDefinition(definition);
    strings.Reset();
    EXPECT_EQ(index, 1);
}

}  // namespace
