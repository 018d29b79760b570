#include "base/kiv_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/support/kiv_test_print.h"

namespace {

TEST(KivNumber, IntegersAreWrittenInAnyRadixWithFill) {
    EXPECT_EQ(KivNumber::IntegerToText(255, 16), KivString("FF"));
    EXPECT_EQ(KivNumber::IntegerToText(-5, 10, 4, '0'), KivString("-0005"));
    EXPECT_EQ(KivNumber::IntegerToText(-5, 10, 4, ' '), KivString("-   5"));
    EXPECT_EQ(KivNumber::IntegerToText(0), KivString("0"));
    EXPECT_EQ(KivNumber::IntegerToText(5, 2), KivString("101"));
    EXPECT_EQ(KivNumber::IntegerToText(12345, 10, 3, '0'), KivString("12345"));
    EXPECT_EQ(KivNumber::IntegerToText(INT64_MIN, 16), KivString("-8000000000000000"));
    EXPECT_EQ(KivNumber::IntegerToText(INT64_MAX), KivString("9223372036854775807"));
    // Radix 2 of the widest magnitude needs all 64 digits.
    EXPECT_EQ(KivNumber::IntegerToText(-1 - INT64_MAX, 2), KivString::FromUTF8("-1" + std::string(63, '0')));
    // The fill stops at 62 characters.
    EXPECT_EQ(KivNumber::IntegerToText(-7, 10, 99, '0').Length(), 62);
}

TEST(KivNumber, IntegersAreReadUpToTheFirstForeignCharacter) {
    int32_t consumed = -1;
    EXPECT_EQ(KivNumber::TextToInteger("-1Fz", 16, &consumed), -31);
    EXPECT_EQ(consumed, 3);
    EXPECT_EQ(KivNumber::TextToInteger("12abc", 10, &consumed), 12);
    EXPECT_EQ(consumed, 2);
    EXPECT_EQ(KivNumber::TextToInteger("ff", 16), 255);
    EXPECT_EQ(KivNumber::TextToInteger("78", 8, &consumed), 7);
    EXPECT_EQ(consumed, 1);
    EXPECT_EQ(KivNumber::TextToInteger("abc", 10, &consumed), 0);
    EXPECT_EQ(consumed, 0);
    EXPECT_EQ(KivNumber::TextToInteger("-", 10, &consumed), 0);
    EXPECT_EQ(consumed, 0);
    EXPECT_EQ(KivNumber::TextToInteger(" 5", 10, &consumed), 0);
    EXPECT_EQ(KivNumber::TextToInteger("-9223372036854775808"), INT64_MIN);
    // A character whose low byte is a digit is not one.
    EXPECT_EQ(KivNumber::TextToInteger(KivString(u"\u0131"), 10, &consumed), 0);
}

TEST(KivNumber, DoublesUseFixedThenGeneralNotation) {
    // Expected digits from Python's "%.<d>f" and "%.<d>g".
    EXPECT_EQ(KivNumber::DoubleToText(0.5, 2), KivString("0.50"));
    EXPECT_EQ(KivNumber::DoubleToText(2.0 / 3.0, 9), KivString("0.666666667"));
    EXPECT_EQ(KivNumber::DoubleToText(1.0 / 3.0, 12), KivString("0.333333333333"));
    EXPECT_EQ(KivNumber::DoubleToText(2.5e10, 10), KivString("2.5e+10"));
    EXPECT_EQ(KivNumber::DoubleToText(100.0, 10), KivString("100"));
    EXPECT_EQ(KivNumber::DoubleToText(0.1, 17), KivString("0.10000000000000001"));
    EXPECT_EQ(KivNumber::DoubleToText(-0.0, 2), KivString("-0.00"));
    EXPECT_EQ(KivNumber::DoubleToText(2.5, 0), KivString("2"));
    EXPECT_EQ(KivNumber::DoubleToText(1e308, 2).Length(), 312);
}

// Stored settings: short where 12 digits read back exactly, else every digit needed.
TEST(KivNumber, ExactTextReadsBackAsTheSameDouble) {
    EXPECT_EQ(KivNumber::DoubleToExactText(0.25, 12), KivString("0.25"));
    EXPECT_EQ(KivNumber::DoubleToExactText(-12.5, 12), KivString("-12.5"));
    for (double value : {1.0 / 3.0, 0.1 + 0.2, 0.01 + 0.99 * 0.362427, -24.0 + 48.0 * double(0.5442430f), 1e-300 / 3.0}) {
        const KivString text = KivNumber::DoubleToExactText(value, 12);
        EXPECT_EQ(KivNumber::TextToDouble(text), value) << value;
    }
}

TEST(KivNumber, DoublesAreReadFromTheLeadingNumber) {
    int32_t consumed = -1;
    EXPECT_DOUBLE_EQ(KivNumber::TextToDouble("  -12.5 dB", &consumed), -12.5);
    EXPECT_EQ(consumed, 7);
    EXPECT_DOUBLE_EQ(KivNumber::TextToDouble("1e3Hz"), 1000.0);
    EXPECT_DOUBLE_EQ(KivNumber::TextToDouble("1.5e-3x"), 0.0015);
    EXPECT_DOUBLE_EQ(KivNumber::TextToDouble("5e", &consumed), 5.0);
    EXPECT_EQ(consumed, 1);
    EXPECT_DOUBLE_EQ(KivNumber::TextToDouble(".5"), 0.5);
    EXPECT_DOUBLE_EQ(KivNumber::TextToDouble("5.%"), 5.0);
    EXPECT_DOUBLE_EQ(KivNumber::TextToDouble("+2"), 2.0);
    EXPECT_EQ(KivNumber::TextToDouble("0.1"), 0.1);
    EXPECT_EQ(KivNumber::TextToDouble(KivString(u"7\u00b5s")), 7.0);
    EXPECT_EQ(KivNumber::TextToDouble("silence", &consumed), 0.0);
    EXPECT_EQ(consumed, 0);
    EXPECT_EQ(KivNumber::TextToDouble("-.e5", &consumed), 0.0);
    EXPECT_EQ(consumed, 0);
    EXPECT_EQ(KivNumber::TextToDouble("1e400"), HUGE_VAL);
    EXPECT_EQ(KivNumber::TextToDouble("-1e400"), -HUGE_VAL);
    EXPECT_EQ(KivNumber::TextToDouble("1e-400"), 0.0);
    EXPECT_GT(KivNumber::TextToDouble("4e-320"), 0.0);  // subnormal, not flushed
    EXPECT_EQ(KivNumber::TextToDouble(KivString::FromUTF8("1" + std::string(400, '0'))), HUGE_VAL);
    // Longer than any stack buffer: 1.5e-201 worked out by Python.
    EXPECT_DOUBLE_EQ(KivNumber::TextToDouble(KivString::FromUTF8("0." + std::string(200, '0') + "15")), 1.5e-201);
}

}  // namespace
