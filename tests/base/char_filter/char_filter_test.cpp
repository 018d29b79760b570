#include <gtest/gtest.h>

#include <string>

#include "base/char_filter/kiv_standard_char_filters.h"

namespace {

// The characters of `probe` that `filter` accepts.
std::u16string Accepted(const KivCharFilter::Interface& filter) {
    const std::u16string probe = u"aZq09-. _+,xFgG\u0141\u0130\u00E9\u0161";
    std::u16string accepted;
    for (char16_t character : probe)
        if (filter.Accept(character)) accepted += character;
    return accepted;
}

TEST(CharFilter, EachKindAcceptsItsCharactersAndReportsItsMask) {
    EXPECT_EQ(Accepted(KivCharFilter::AllFilter()), u"aZq09-. _+,xFgG\u0141\u0130\u00E9\u0161");
    EXPECT_EQ(Accepted(KivCharFilter::LettersFilter()), u"aZqxFgG");
    EXPECT_EQ(Accepted(KivCharFilter::AlphaStrictFilter()), u"aZq09xFgG");
    EXPECT_EQ(Accepted(KivCharFilter::AlphaFilter()), u"aZq09-. xFgG");
    EXPECT_EQ(Accepted(KivCharFilter::IntegerFilter()), u"09-");
    EXPECT_EQ(Accepted(KivCharFilter::FloatFilter()), u"09-.");
    // U+0141 and U+0130 share their low bytes with "A" and "0": both are refused.
    EXPECT_EQ(Accepted(KivCharFilter::IntegerHexaFilter()), u"a09F");

    EXPECT_EQ(KivCharFilter::AllFilter().GetClassMask(), 23);
    EXPECT_EQ(KivCharFilter::LettersFilter().GetClassMask(), 1);
    EXPECT_EQ(KivCharFilter::AlphaStrictFilter().GetClassMask(), 3);
    EXPECT_EQ(KivCharFilter::AlphaFilter().GetClassMask(), 7);
    EXPECT_EQ(KivCharFilter::IntegerFilter().GetClassMask(), 2);
    EXPECT_EQ(KivCharFilter::FloatFilter().GetClassMask(), 6);
    EXPECT_EQ(KivCharFilter::IntegerHexaFilter().GetClassMask(), 10);
}

}  // namespace
