#include <gtest/gtest.h>

#include "base/kiv_string.h"
#include "tests/support/kiv_test_print.h"

namespace {

KivString Units(std::u16string_view units) { return KivString::FromU16(units); }

TEST(StringFold, AccentsAndCaseAreIgnored) {
    EXPECT_EQ(Units(u"\u00C9te").CompareFolded("ete"), 0);
    EXPECT_LT(KivString("abc").CompareFolded("abd"), 0);
    EXPECT_GT(KivString("abd").CompareFolded("abc"), 0);
    EXPECT_EQ(KivString("ABC").CompareFolded("abc"), 0);
    EXPECT_LT(KivString("ab").CompareFolded("abc"), 0);
    EXPECT_GT(KivString("abc").CompareFolded("ab"), 0);
    EXPECT_EQ(KivString("abcX").CompareFolded("ABCy", 3), 0);
    EXPECT_NE(KivString("abcX").CompareFolded("ABCy", 4), 0);
    // Recursive decompositions: A with ring above and acute folds through A with ring to A.
    EXPECT_EQ(Units(u"\u01FA\u1EA0\u0148").CompareFolded("aan"), 0);
    // Greek, Cyrillic and Hebrew presentation forms reach their base letters.
    EXPECT_EQ(Units(u"\u1F00\u0439\uFB4E").CompareFolded(Units(u"\u03B1\u0438\u05E4")), 0);
    // Characters with compatibility or singleton decompositions stay themselves.
    EXPECT_NE(Units(u"\uFB01").CompareFolded("f"), 0);      // fi ligature
    EXPECT_NE(Units(u"\u212B").CompareFolded("a"), 0);      // Angstrom sign
    EXPECT_NE(Units(u"\uAC00").CompareFolded(Units(u"\u1100")), 0);  // Hangul syllable
    // Only ASCII capitals are lowered.
    EXPECT_NE(Units(u"\u0416").CompareFolded(Units(u"\u0436")), 0);
}

TEST(StringFold, RawVariantsAgreeForEveryWidthPairing) {
    EXPECT_EQ(KivFold::Compare("Latin2", "LATIN2"), 0);
    EXPECT_EQ(KivFold::Compare(u"\u00E9t\u00E9", "ETE"), 0);
    EXPECT_EQ(KivFold::Compare("ete", u"\u00C9T\u00C8"), 0);
    EXPECT_LT(KivFold::Compare(u"ab", u"abc"), 0);
    EXPECT_EQ(KivFold::Compare("abcd", "abce", 3), 0);
    EXPECT_EQ(KivFold::Character(u'\u00C0'), u'a');
    EXPECT_EQ(KivFold::Character(u'Z'), u'z');
    EXPECT_EQ(KivFold::Character(u'\u00C6'), u'\u00C6');  // AE has no decomposition
}

TEST(StringHash, IgnoresCaseAndSamplesLongTexts) {
    EXPECT_EQ(KivString().Hash(), 0);
    EXPECT_EQ(KivString("Threshold").Hash(), KivString("tHRESHOLD").Hash());
    EXPECT_EQ(KivString("ABCDEFGHIJKLMNO").Hash(), KivString("abcdefghijklmno").Hash());
    // "ab": 'a' (97) at shift 0 XOR 'b' (98) at shift 1 = 97 ^ 196 = 165.
    EXPECT_EQ(KivString("AB").Hash(), 165);
    // The low byte is taken with its sign: U+00FF contributes -1.
    EXPECT_EQ(Units(u"\u00FF").Hash(), -1);
    EXPECT_EQ(Units(u"x\u0141").Hash(), 'x' ^ ('A' << 1));
    // 40 characters: only indices 0 and 4 count, so 'a' ^ ('e' << 4).
    KivString longText("abcdefghijklmnopqrstuvwxyz0123456789ABCD");
    EXPECT_EQ(longText.Hash(), 'a' ^ ('e' << 4));
    // 16 characters: index 0 only.
    EXPECT_EQ(KivString("QRSTUVWXYZ012345").Hash(), 'q');
}

}  // namespace
