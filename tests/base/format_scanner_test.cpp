#include "base/kiv_format_scanner.h"

#include <gtest/gtest.h>

#include "base/kiv_exception.h"
#include "tests/support/kiv_test_print.h"

namespace {

TEST(KivFormatScanner, ReadsNumbersBackThroughTheirDisplayFormat) {
    KivFormatScanner gain = KivFormatScanner::Scan("{+0.2} dB", "-3.5 dB");
    double decibels = 0;
    EXPECT_TRUE(gain.Read(decibels));
    EXPECT_DOUBLE_EQ(decibels, -3.5);
    EXPECT_FALSE(gain.Read(decibels));  // nothing more was captured
    EXPECT_DOUBLE_EQ(decibels, -3.5);

    KivFormatScanner date("{0:04}-{1:02}-{2:02}", "2012-05-09");
    int64_t year = 0, month = 0, day = 0;
    EXPECT_TRUE(date.Read(year) && date.Read(month) && date.Read(day));
    EXPECT_EQ(year, 2012);
    EXPECT_EQ(month, 5);
    EXPECT_EQ(day, 9);

    KivFormatScanner percent("{0.1}%", "50.5%");
    EXPECT_EQ(percent.GetCapture(0), KivString("50.5"));

    KivFormatScanner braces("{{{0}}}", "{7}");
    int32_t seven = 0;
    EXPECT_TRUE(braces.Read(seven));
    EXPECT_EQ(seven, 7);
}

TEST(KivFormatScanner, CapturesEndAtTheNextLiteralOrBlank) {
    KivFormatScanner pair("{0} ({1})", "12   (34)");
    ASSERT_EQ(pair.GetArgumentCount(), 2);
    EXPECT_EQ(pair.GetCapture(0), KivString("12"));
    EXPECT_EQ(pair.GetCapture(1), KivString("34"));

    KivFormatScanner hexadecimal("{0x}:{1}", "ff:1A");
    EXPECT_TRUE(hexadecimal.IsHexadecimal(0));
    EXPECT_FALSE(hexadecimal.IsHexadecimal(1));
    int64_t red = 0, other = 0;
    EXPECT_TRUE(hexadecimal.Read(red));
    EXPECT_EQ(red, 255);
    EXPECT_TRUE(hexadecimal.Read(other));  // decimal: reading stops at "A"
    EXPECT_EQ(other, 1);

    // Captures are read in argument order, whatever their place in the format.
    KivFormatScanner swapped("{1} then {0}", "b then a");
    EXPECT_EQ(swapped.GetCapture(0), KivString("a"));
    EXPECT_EQ(swapped.GetCapture(1), KivString("b"));

    // Adjacent placeholders: the first takes everything up to the next literal.
    KivFormatScanner adjacent("{0}{1}!", "C5!");
    EXPECT_EQ(adjacent.GetCapture(0), KivString("C5"));
    EXPECT_EQ(adjacent.GetCapture(1), KivString(""));
}

TEST(KivFormatScanner, MismatchesKeepWhatWasCaptured) {
    KivFormatScanner wrongUnit("{0} dB {1}", "5 Hz 7");
    EXPECT_EQ(wrongUnit.GetArgumentCount(), 1);
    double value = 0;
    EXPECT_TRUE(wrongUnit.Read(value));
    EXPECT_DOUBLE_EQ(value, 5.0);
    value = 99;
    EXPECT_FALSE(wrongUnit.Read(value));
    EXPECT_DOUBLE_EQ(value, 99.0);

    KivFormatScanner words("{0} dB", "silence dB");
    EXPECT_FALSE(words.Read(value));
    EXPECT_DOUBLE_EQ(value, 0.0);

    EXPECT_EQ(KivFormatScanner("x{0}", "y5").GetArgumentCount(), 0);
    EXPECT_EQ(KivFormatScanner("{0}", "").GetArgumentCount(), 0);

    // The formatter's own signs and fill read back.
    KivFormatScanner pitch("{0}{1} ({2+} cents)", "A4 (+5 cents)");
    int64_t name = 1, cents = 0;
    EXPECT_FALSE(pitch.Read(name));  // "A4" does not start with a digit
    EXPECT_EQ(name, 0);
    EXPECT_FALSE(pitch.Read(name));  // nothing captured for argument 1
    EXPECT_TRUE(pitch.Read(cents));
    EXPECT_EQ(cents, 5);

    EXPECT_THROW(KivFormatScanner("{0", "5"), KivException);
}

TEST(KivFormatScanner, CopiesShareTheReadPosition) {
    KivFormatScanner original("{0},{1}", "1,2");
    KivFormatScanner copy(original);
    int64_t first = 0, second = 0;
    EXPECT_TRUE(original.Read(first));
    EXPECT_TRUE(copy.Read(second));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    copy = KivFormatScanner("{0}", "3");
    EXPECT_EQ(copy.GetCapture(0), KivString("3"));
    EXPECT_EQ(original.GetCapture(1), KivString("2"));
}

}  // namespace
