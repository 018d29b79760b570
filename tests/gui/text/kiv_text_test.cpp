// Text: metrics, kerning, alignment, clipping and identical pixels on every platform.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"
#include "gui/text/kiv_text_painter.h"
#include "gui/text/kiv_utf16_reader.h"

namespace {

constexpr KivColor kInk{255, 255, 255, 255};

// The box of the pixels that received ink.
KivRect InkBox(const KivBitmap& bitmap) {
    KivRect box{bitmap.Width(), bitmap.Height(), -1, -1};
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (bitmap.At(x, y).g == 0) continue;
            box = KivRect{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
        }
    }
    return box;
}

KivBitmap Drawn(const KivString& text, const KivRect& rect, uint32_t flags, double size = 14) {
    KivBitmap bitmap(200, 60);
    KivDrawerToKivBitmap(bitmap).AlignedTextOut(KivFont::OfSize(size), text, rect, flags, kInk,
                                                KivDrawingMode::kAlphablend);
    return bitmap;
}

}  // namespace

TEST(KivText, FontsAreSharedPerSizeWithSensibleMetrics) {
    const KivFont& font = KivFont::OfSize(14);
    EXPECT_EQ(&font, &KivFont::OfSize(14.05));
    EXPECT_NE(&font, &KivFont::OfSize(15));
    EXPECT_EQ(font.Ascent(), 13);  // DejaVu Sans: ascent 0.928 em, descent 0.236 em
    EXPECT_EQ(font.Descent(), 3);
    EXPECT_GT(font.MeasureText("Threshold"), font.MeasureText("Ratio"));
    EXPECT_EQ(font.MeasureText(""), 0.0);
}

TEST(KivText, KerningTightensPairsThatNeedIt) {
    const KivFont& font = KivFont::OfSize(40);
    EXPECT_LT(font.MeasureText("AV"), font.MeasureText("A") + font.MeasureText("V") - 1.0);
    EXPECT_DOUBLE_EQ(font.MeasureText("HH"), 2 * font.MeasureText("H"));
}

TEST(KivText, SurrogatePairsAreOneCodePoint) {
    const KivString text = KivString::FromU16(u"a\U0001D11Eb\xD800");
    KivUtf16Reader reader(text);
    EXPECT_EQ(reader.Next(), U'a');
    EXPECT_EQ(reader.Next(), U'\U0001D11E');
    EXPECT_EQ(reader.Next(), U'b');
    EXPECT_EQ(reader.Next(), static_cast<char32_t>(0xD800));
    EXPECT_TRUE(reader.AtEnd());
}

TEST(KivText, AlignmentPlacesTheInkWhereTheFlagsSay) {
    const KivRect rect{20, 10, 179, 49};
    const KivRect centred = InkBox(Drawn("Attack", rect, KivTextAlignment::kCentred));
    EXPECT_NEAR((centred.left + centred.right) / 2.0, (rect.left + rect.right) / 2.0, 1.5);
    // Capitals without descenders: the ink sits a little above the centre of the line box.
    EXPECT_NEAR((centred.top + centred.bottom) / 2.0, (rect.top + rect.bottom) / 2.0, 3.0);
    const KivRect left = InkBox(Drawn("Attack", rect, KivTextAlignment::kLeft));
    EXPECT_NEAR(left.left, rect.left, 1);
    EXPECT_NEAR(left.top, rect.top + 3, 2);
    const KivRect right = InkBox(Drawn("Attack", rect, KivTextAlignment::kRight | KivTextAlignment::kBottom));
    EXPECT_NEAR(right.right, rect.right, 2);
    EXPECT_NEAR(right.bottom, rect.bottom - KivFont::OfSize(14).Descent(), 1);
}

TEST(KivText, TextIsClippedToItsRectangleAndShortenedOnRequest) {
    const KivRect narrow{30, 10, 60, 25};
    const KivRect ink = InkBox(Drawn("Release time and shape", narrow, KivTextAlignment::kCentred));
    EXPECT_GE(ink.left, narrow.left);
    EXPECT_LE(ink.right, narrow.right);
    EXPECT_GE(ink.top, narrow.top);
    EXPECT_LE(ink.bottom, narrow.bottom);
    const KivFont& font = KivFont::OfSize(14);
    const KivString shortened = KivTextPainter::Shortened(font, "Release time and shape", 60);
    EXPECT_LE(font.MeasureText(shortened), 60);
    EXPECT_EQ(shortened[shortened.Length() - 1], u'\u2026');
    EXPECT_EQ(KivTextPainter::Shortened(font, "Knee", 60), KivString("Knee"));
}

TEST(KivText, RenderingIsTheSameOnEveryPlatform) {
    // A fingerprint of text at several sizes, positions between pixels and kerned pairs. The
    // Linux and Windows builds must both produce it.
    KivBitmap bitmap(240, 90);
    KivDrawerToKivBitmap drawer(bitmap);
    drawer.AlignedTextOut(KivFont::OfSize(11), KivString::FromUTF8("Threshold -24.0 dB · Ratio 4:1"),
                          KivRect{0, 0, 239, 20}, KivTextAlignment::kCentred, KivColor{200, 220, 240, 255},
                          KivDrawingMode::kAlphablend);
    drawer.AlignedTextOut(KivFont::OfSize(23.5), KivString::FromUTF8("AVAWAY Ünïcödé"), KivRect{3, 25, 239, 89},
                          KivTextAlignment::kLeft, KivColor{90, 200, 255, 200}, KivDrawingMode::kAlphablend);
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            hash = (hash ^ bitmap.At(x, y).ToPixel()) * 1099511628211ull;
        }
    }
    EXPECT_EQ(hash, 9721844503055059840ull);
}
