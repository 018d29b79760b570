#include <gtest/gtest.h>

#include <string>

#include "base/kiv_string.h"
#include "tests/support/kiv_test_print.h"

namespace {

KivString Units(std::u16string_view units) { return KivString::FromU16(units); }

// "Grüße € 𝄞 ЖЯ" as encoded by Python's codecs.
const std::string kMixedUTF8 =
    "\x47\x72\xc3\xbc\xc3\x9f\x65\x20\xe2\x82\xac\x20\xf0\x9d\x84\x9e\x20\xd0\x96\xd0\xaf";
const std::u16string kMixedUnits = u"Gr\u00FC\u00DFe \u20AC \xD834\xDD1E \u0416\u042F";

TEST(StringUTF8, EncodesLikeTheStandard) {
    EXPECT_EQ(Units(kMixedUnits).ToUTF8(), kMixedUTF8);
    EXPECT_EQ(KivString("plain").ToUTF8(), "plain");
    EXPECT_EQ(Units(u"\u07FF\u0800\uFFFF").ToUTF8(), "\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf");
    EXPECT_EQ(Units(u"\xDBFF\xDFFF").ToUTF8(), "\xf4\x8f\xbf\xbf");
}

TEST(StringUTF8, BrokenSurrogatesAreDropped) {
    EXPECT_EQ(Units(u"\xDC00").ToUTF8(), "");
    EXPECT_EQ(Units(u"a\xDC00" u"b").ToUTF8(), "ab");
    // A high surrogate takes the unit after it down with it.
    EXPECT_EQ(Units(u"a\xD800" u"bc").ToUTF8(), "ac");
    EXPECT_EQ(Units(u"a\xD800").ToUTF8(), "a");
}

TEST(StringUTF8, DecodesAndToleratesMalformedBytes) {
    EXPECT_EQ(KivString::FromUTF8(kMixedUTF8).ToU16(), kMixedUnits);
    EXPECT_EQ(KivString::FromUTF8("\xef\xbb\xbf" "A").ToU16(), u"A");
    EXPECT_EQ(KivString::FromUTF8(std::string("ab\0cd", 5)).ToU16(), u"ab");
    // A sequence cut short yields character 1 and swallows the interrupting byte.
    EXPECT_EQ(KivString::FromUTF8("\xc3" "AB").ToU16(), u"\x0001" u"B");
    // Stray continuation bytes and invalid lead bytes are ignored.
    EXPECT_EQ(KivString::FromUTF8("\x80x\xffy").ToU16(), u"xy");
    // An unfinished sequence at the end vanishes.
    EXPECT_EQ(KivString::FromUTF8("z\xe2\x82").ToU16(), u"z");
    EXPECT_EQ(KivString::FromUTF8("").Length(), 0);
}

}  // namespace
