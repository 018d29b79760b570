#include "parameters/values/kiv_display_text.h"

#include <gtest/gtest.h>

#include "parameters/values/kiv_signal_generator_shape_text.h"
#include "tests/support/kiv_test_print.h"

namespace {

KivString Utf8(const char* text) { return KivString::FromUTF8(text); }

TEST(KivDisplayText, PercentsGainADecimalBelowOnePercent) {
    EXPECT_EQ(KivFormatPercents(0.005), Utf8("0.50%"));
    EXPECT_EQ(KivFormatPercents(0.5), Utf8("50.0%"));
    EXPECT_EQ(KivFormatPercents(-0.003), Utf8("-0.30%"));
    EXPECT_EQ(KivFormatPercents(1.0), Utf8("100.0%"));
}

TEST(KivDisplayText, VolumeInDecibelsWithSilenceAtZero) {
    EXPECT_EQ(KivFormatVolume(0.0), Utf8("silence"));
    EXPECT_EQ(KivFormatVolume(1.0), Utf8("0.00 dB"));
    EXPECT_EQ(KivFormatVolume(0.1), Utf8("-20.0 dB"));
    EXPECT_EQ(KivFormatVolume(2.0), Utf8("6.02 dB"));
    EXPECT_EQ(KivFormatVolume(0.5), Utf8("-6.02 dB"));
    EXPECT_EQ(KivFormatVolume(10.0), Utf8("20.0 dB"));
}

TEST(KivDisplayText, FrequencyDecimalsShrinkAsHertzGrow) {
    EXPECT_EQ(KivFormatFrequency(0.0), Utf8("0 Hz"));
    EXPECT_EQ(KivFormatFrequency(0.5), Utf8("0.5000 Hz"));
    EXPECT_EQ(KivFormatFrequency(5.0), Utf8("5.00 Hz"));
    EXPECT_EQ(KivFormatFrequency(55.27), Utf8("55.3 Hz"));
    EXPECT_EQ(KivFormatFrequency(440.4), Utf8("440 Hz"));
    EXPECT_EQ(KivFormatFrequency(440.5), Utf8("441 Hz"));
    EXPECT_EQ(KivFormatFrequency(9999.0), Utf8("9999 Hz"));
    EXPECT_EQ(KivFormatFrequency(12345.0), Utf8("12.3 kHz"));
}

TEST(KivDisplayText, PanTruncatesPercentToASide) {
    EXPECT_EQ(KivFormatPan(-0.255), Utf8("25% left"));
    EXPECT_EQ(KivFormatPan(0.0), Utf8("center"));
    EXPECT_EQ(KivFormatPan(0.999), Utf8("99% right"));
}

TEST(KivDisplayText, TimeInMillisecondsWithDecimalsForShortTimes) {
    EXPECT_EQ(KivFormatTime(0.0), Utf8("0 ms"));
    EXPECT_EQ(KivFormatTime(0.00005), Utf8("0.050 ms"));
    EXPECT_EQ(KivFormatTime(0.0005), Utf8("0.50 ms"));
    EXPECT_EQ(KivFormatTime(0.005), Utf8("5.0 ms"));
    EXPECT_EQ(KivFormatTime(0.0125), Utf8("13 ms"));
    EXPECT_EQ(KivFormatTime(1.5), Utf8("1500 ms"));
}

TEST(KivDisplayText, DegreesShowTheTurnAndItsPercentage) {
    EXPECT_EQ(KivFormatDegrees(0.0), Utf8("0\xC2\xB0 (0%)"));
    EXPECT_EQ(KivFormatDegrees(0.25), Utf8("90\xC2\xB0 (25.0%)"));
    EXPECT_EQ(KivFormatDegrees(0.5), Utf8("180\xC2\xB0 (50.0%)"));
}

TEST(KivDisplayText, PitchNamesTheNearestNoteWithCents) {
    EXPECT_EQ(KivFormatPitch(440.0), Utf8("A4 (0 cents)"));
    EXPECT_EQ(KivFormatPitch(450.0), Utf8("A4 (+39 cents)"));
    EXPECT_EQ(KivFormatPitch(261.6256), Utf8("C4 (0 cents)"));
    EXPECT_EQ(KivFormatPitch(1000.0), Utf8("B5 (+21 cents)"));
    EXPECT_EQ(KivFormatPitch(27.5), Utf8("A0 (0 cents)"));
    EXPECT_EQ(KivFormatPitch(430.0), Utf8("A4 (-40 cents)"));
}

TEST(KivDisplayText, MIDINotesAreAnOctaveAbovePitchNumbering) {
    EXPECT_EQ(KivFormatMIDINote(60), Utf8("C5"));
    EXPECT_EQ(KivFormatMIDINote(69), Utf8("A5"));
    EXPECT_EQ(KivFormatMIDINote(0), Utf8("C0"));
    EXPECT_EQ(KivFormatMIDINote(127), Utf8("G10"));
}

TEST(KivDisplayText, SignalGeneratorShapeBlendsNeighbours) {
    static const char* const names[kKivSignalGeneratorShapeCount] = {"S0", "S1", "S2", "S3", "S4", "S5",
                                                                      "S6", "S7", "S8", "S9", "S10", "S11",
                                                                      "S12", "S13", "S14", "S15"};
    KivSetSignalGeneratorShapeNames(names);
    EXPECT_EQ(KivFormatSignalGeneratorShape(2.25), Utf8("75% S2, 25% S3"));
    EXPECT_EQ(KivFormatSignalGeneratorShape(3.0), Utf8("S3"));
    EXPECT_EQ(KivFormatSignalGeneratorShape(3.999), Utf8("S4"));
    EXPECT_EQ(KivFormatSignalGeneratorShape(15.0), Utf8("S15"));
    EXPECT_EQ(KivFormatSignalGeneratorShape(20.0), Utf8("S15"));
    EXPECT_EQ(KivFormatSignalGeneratorShape(-1.0), Utf8("S0"));
    KivSetSignalGeneratorShapeNames(nullptr);
    EXPECT_EQ(KivFormatSignalGeneratorShape(0.5), Utf8("50% Shape 1, 50% Shape 2"));
}

}  // namespace
