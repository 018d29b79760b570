#include "base/kiv_format.h"

#include <gtest/gtest.h>

#include "base/kiv_exception.h"
#include "tests/support/kiv_test_print.h"

namespace {

std::u16string Formatted(KivFormat& format) { return format.Result().ToU16(); }

TEST(KivFormat, DoublesUseFixedNotationWithTheSpecifiedDecimals) {
    EXPECT_EQ(KivFormat("{0.2}%").Argument(0.5).Result().ToU16(), u"0.50%");
    // 12.25 is exact in binary; the platform's fixed notation rounds the tie to even.
    EXPECT_EQ(KivFormat("{0;.1} kHz").Argument(12.25).Result().ToU16(), u"12.2 kHz");
    EXPECT_EQ(KivFormat("{0}").Argument(1.5).Result().ToU16(), u"1.5000");
    EXPECT_EQ(KivFormat("{0}").Argument(int64_t{7}).Result().ToU16(), u"7");
    // Digits worked out with Python's "%.4f" and "%.2f".
    EXPECT_EQ(KivFormat("{0}").Argument(123456.78905).Result().ToU16(), u"123456.7891");
    EXPECT_EQ(KivFormat("{0}").Argument(-0.00005).Result().ToU16(), u"-0.0001");
    EXPECT_EQ(KivFormat("{0.2}").Argument(2.675).Result().ToU16(), u"2.67");
    EXPECT_EQ(KivFormat("{0.0}").Argument(2.5).Result().ToU16(), u"2");
    EXPECT_EQ(KivFormat("{0.2}").Argument(2.5e10).Result().ToU16(), u"25000000000.00");
}

TEST(KivFormat, PlusSignOnlyForPositiveValues) {
    EXPECT_EQ(KivFormat("{+0.2} dB").Argument(3.0).Result().ToU16(), u"+3.00 dB");
    EXPECT_EQ(KivFormat("{+0.2} dB").Argument(0.0).Result().ToU16(), u"0.00 dB");
    EXPECT_EQ(KivFormat("{+0.2} dB").Argument(-3.0).Result().ToU16(), u"-3.00 dB");
    EXPECT_EQ(KivFormat("{+0.2}").Argument(1e-21).Result().ToU16(), u"0.00");
    EXPECT_EQ(KivFormat("{2+}").Argument(int64_t{0}).Result().ToU16(), u"");  // argument 2 not supplied
    KivFormat third("{2+}");
    third.Argument(int64_t{1}).Argument(int64_t{2}).Argument(int64_t{0});
    EXPECT_EQ(Formatted(third), u"0");
    KivFormat positive("{0+}");
    EXPECT_EQ(Formatted(positive.Argument(int64_t{5})), u"+5");
    EXPECT_EQ(KivFormat("{0+}").Argument(int64_t{-5}).Result().ToU16(), u"-5");
}

TEST(KivFormat, IntegersArePaddedAndWrittenInHexadecimal) {
    KivFormat date("{0:04}-{1:02}-{2:02}");
    date.Argument(int64_t{2012}).Argument(int64_t{5}).Argument(int64_t{9});
    EXPECT_EQ(Formatted(date), u"2012-05-09");
    KivFormat color("{0x;02}{1x;02}{2x;02}{3x;02}");
    color.Argument(255).Argument(0).Argument(16).Argument(1);
    EXPECT_EQ(Formatted(color), u"FF001001");
    EXPECT_EQ(KivFormat("{0:03}").Argument(int64_t{-5}).Result().ToU16(), u"-005");
    EXPECT_EQ(KivFormat("[{0 4}]").Argument(int64_t{42}).Result().ToU16(), u"[  42]");
    EXPECT_EQ(KivFormat("{0}").Argument(INT64_MIN).Result().ToU16(), u"-9223372036854775808");
    // Width and pad do not apply to doubles.
    EXPECT_EQ(KivFormat("{0:06.1}").Argument(2.25).Result().ToU16(), u"2.2");
}

TEST(KivFormat, ArgumentsAreInsertedByNumberAndPosition) {
    KivFormat note("{0}{1}");
    note.Argument("C").Argument("5");
    EXPECT_EQ(Formatted(note), u"C5");
    KivFormat swapped("{1} then {0}");
    swapped.Argument("first").Argument("second");
    EXPECT_EQ(Formatted(swapped), u"second then first");
    KivFormat reversedAtOnePlace("{1}{0}");
    reversedAtOnePlace.Argument("a").Argument("b");
    EXPECT_EQ(Formatted(reversedAtOnePlace), u"ba");
    KivFormat pitch("{0}{1} ({2+} cents)");
    pitch.Argument("A").Argument(int64_t{4}).Argument(int64_t{0});
    EXPECT_EQ(Formatted(pitch), u"A4 (0 cents)");
    // A number used twice keeps only its last place; values beyond the count are ignored.
    KivFormat twice("<{0}|{0}>");
    twice.Argument("x").Argument("ignored");
    EXPECT_EQ(Formatted(twice), u"<|x>");
    KivFormat missing("{0} and {1}");
    missing.Argument(KivString(u"only"));
    EXPECT_EQ(Formatted(missing), u"only and ");
    EXPECT_EQ(KivFormat("{0}!").Argument(static_cast<const char*>(nullptr)).Result().ToU16(), u"!");
    EXPECT_EQ(KivFormat("{31}").Argument(1).Result().ToU16(), u"");
    EXPECT_EQ(KivFormat("a{32}b{-1}c").Argument(1).Result().ToU16(), u"abc");
}

TEST(KivFormat, BracesAreEscapedAndUnfinishedPlaceholdersRaise) {
    EXPECT_EQ(KivFormat("50{{x}}").Result().ToU16(), u"50{x}");
    EXPECT_EQ(KivFormat("a}b").Result().ToU16(), u"ab");
    EXPECT_EQ(KivFormat(KivString(u"\u00e9{0}\u00e9")).Argument("-").Result().ToU16(), u"\u00e9-\u00e9");
    for (const char* unfinished : {"{0", "{", "abc{0.2", "{0:0"}) {
        try {
            KivFormat format(unfinished);
            ADD_FAILURE() << unfinished;
        } catch (const KivException& exception) {
            EXPECT_EQ(exception.GetMessage().ToU16(), u"Formatting string ends in an argument specification.");
        }
    }
}

TEST(KivFormat, CopiesShareOneFormatter) {
    KivFormat original("{0}-{1}");
    KivFormat copy(original);
    copy.Argument("a");
    original.Argument("b");
    EXPECT_EQ(Formatted(copy), u"a-b");
    KivFormat other("x");
    other = copy;
    other = other;
    EXPECT_EQ(Formatted(other), u"a-b");
    EXPECT_EQ(KivString(u"Service \"Open\" is not implemented."),
              KivFormat("Service \"{0}\" is not implemented.").Argument("Open").Result());
}

}  // namespace
