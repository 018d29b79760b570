// Drawing at a window's scale: lines, frames and fills land on whole device pixels at every
// size (no row of half tone where a one-pixel line falls between two device rows), text is
// drawn with the font at the device size (the same pixels as the text drawn directly at twice
// the size, not an enlargement), and the clip controls set is the clip they get back.
#include <gtest/gtest.h>

#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

namespace {

using Mode = KivDrawingMode;
constexpr KivColor kBlack{0, 0, 0, 255};
constexpr KivColor kWhite{255, 255, 255, 255};

// A black bitmap of `logical` pixels at `factor`, drawn on by `paint` through the scaled drawer.
template <typename Paint>
KivBitmap DrawScaled(double factor, KivPoint logical, Paint paint) {
    const KivScale scale{factor};
    const KivPoint size = scale.ToDeviceSize(logical);
    KivBitmap bitmap(size.x, size.y);
    bitmap.Clear(kBlack);
    const KivRect area{0, 0, logical.x - 1, logical.y - 1};
    bitmap.SetClip(scale.ToDevice(area));
    KivDrawerToKivBitmap drawer(bitmap, scale, area);
    paint(drawer);
    return bitmap;
}

// Pixels that are neither the background nor the line colour: a line between device pixels.
int CountHalfTones(const KivBitmap& bitmap) {
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.At(x, y) != kBlack && bitmap.At(x, y) != kWhite) ++count;
    return count;
}

void PaintLinesAndFrames(KivDrawer& drawer) {
    drawer.MoveTo(KivPoint{2, 3});
    drawer.LineTo(KivPoint{9, 3}, kWhite, Mode::kAlphablend);
    drawer.MoveTo(KivPoint{12, 1});
    drawer.LineTo(KivPoint{12, 10}, kWhite, Mode::kAlphablend);
    drawer.Rectangle(KivRect{15, 2, 25, 9}, kWhite, Mode::kAlphablend);
    drawer.FillRectangle(KivRect{3, 6, 7, 8}, kWhite, Mode::kAlphablend);
}

TEST(KivScaledDrawing, LinesFramesAndFillsCoverWholeDevicePixelsAtEverySize) {
    for (const double factor : {0.75, 1.0, 1.25, 1.5, 2.0, 3.0}) {
        const KivBitmap bitmap = DrawScaled(factor, KivPoint{30, 24}, PaintLinesAndFrames);
        EXPECT_EQ(CountHalfTones(bitmap), 0) << "at " << factor;
    }
    // At 200% each logical pixel is a 2 x 2 block: the line from (2, 3) to (9, 3) covers
    // device columns 4 to 19 of rows 6 and 7, and nothing next to them.
    const KivBitmap doubled = DrawScaled(2.0, KivPoint{30, 24}, PaintLinesAndFrames);
    for (int x = 2; x <= 21; ++x) {
        const bool on = x >= 4 && x <= 19;
        EXPECT_EQ(doubled.At(x, 6), on ? kWhite : kBlack) << x;
        EXPECT_EQ(doubled.At(x, 7), on ? kWhite : kBlack) << x;
        EXPECT_EQ(doubled.At(x, 5), kBlack) << x;
        EXPECT_EQ(doubled.At(x, 8), kBlack) << x;
    }
    // The frame (15, 2)-(25, 9): its left side is device columns 30 and 31, rows 4 to 19;
    // column 32 is inside and stays black.
    for (int y = 4; y <= 19; ++y) {
        EXPECT_EQ(doubled.At(30, y), kWhite) << y;
        EXPECT_EQ(doubled.At(31, y), kWhite) << y;
        EXPECT_EQ(doubled.At(32, y), y <= 5 || y >= 18 ? kWhite : kBlack) << y;
    }
    // At 150% the line's row 3 spans device rows round(4.5) = 5 to round(6) - 1 = 5: one row.
    const KivBitmap half = DrawScaled(1.5, KivPoint{30, 24}, PaintLinesAndFrames);
    EXPECT_EQ(half.At(5, 5), kWhite);
    EXPECT_EQ(half.At(5, 4), kBlack);
    EXPECT_EQ(half.At(5, 6), kBlack);

    // A rounded frame's straight sides are whole device rows too: its top at row 12 is rows
    // 24 and 25 at 200%, and at 150% it starts at round(18) = 18 and is round(1.5) = 2 rows
    // wide.
    const auto roundFrame = [](KivDrawer& drawer) { drawer.RoundRectangle(KivRect{2, 12, 20, 20}, 4, kWhite, Mode::kAlphablend); };
    const KivBitmap roundDoubled = DrawScaled(2.0, KivPoint{30, 24}, roundFrame);
    for (int x = 14; x <= 28; ++x) {
        EXPECT_EQ(roundDoubled.At(x, 23), kBlack) << x;
        EXPECT_EQ(roundDoubled.At(x, 24), kWhite) << x;
        EXPECT_EQ(roundDoubled.At(x, 25), kWhite) << x;
        EXPECT_EQ(roundDoubled.At(x, 26), kBlack) << x;
    }
    const KivBitmap roundHalf = DrawScaled(1.5, KivPoint{30, 24}, roundFrame);
    for (int x = 12; x <= 20; ++x) {
        EXPECT_EQ(roundHalf.At(x, 17), kBlack) << x;
        EXPECT_EQ(roundHalf.At(x, 18), kWhite) << x;
        EXPECT_EQ(roundHalf.At(x, 19), kWhite) << x;
        EXPECT_EQ(roundHalf.At(x, 20), kBlack) << x;
    }
}

TEST(KivScaledDrawing, TextAtTwiceTheSizeIsTheTextDrawnWithTheFontAtTwiceItsSize) {
    const KivString text = KivString::FromUTF8("Threshold -24.0 dB");
    const KivFont& font = KivFont::OfSize(13.0);
    const uint32_t flags = KivTextAlignment::kHorizontalCentre | KivTextAlignment::kVerticalCentre;
    const KivBitmap scaled = DrawScaled(2.0, KivPoint{160, 30}, [&](KivDrawer& drawer) {
        drawer.AlignedTextOut(font, text, KivRect{5, 5, 150, 24}, flags, kWhite, Mode::kAlphablend);
    });
    // The reference, worked out without the scaled drawer: the font at 26 pixels in the
    // rectangle's device pixels (10, 10)-(301, 49).
    KivBitmap reference(320, 60);
    reference.Clear(kBlack);
    KivDrawerToKivBitmap direct(reference);
    direct.AlignedTextOut(KivFont::OfSize(26.0), text, KivRect{10, 10, 301, 49}, flags, kWhite, Mode::kAlphablend);
    ASSERT_EQ(scaled.Width(), reference.Width());
    int differing = 0, inked = 0;
    for (int y = 0; y < reference.Height(); ++y) {
        for (int x = 0; x < reference.Width(); ++x) {
            if (scaled.At(x, y) != reference.At(x, y)) ++differing;
            if (reference.At(x, y) != kBlack) ++inked;
        }
    }
    EXPECT_GT(inked, 500);
    EXPECT_EQ(differing, 0);

    // An enlargement of the text drawn at 100% would repeat every pixel in 2 x 2 blocks; the
    // text drawn at the device size has strokes one device pixel apart that differ.
    int blocksThatDiffer = 0;
    for (int y = 10; y + 1 < 50; y += 2)
        for (int x = 10; x + 1 < 302; x += 2)
            if (scaled.At(x, y) != scaled.At(x + 1, y) || scaled.At(x, y) != scaled.At(x, y + 1)) ++blocksThatDiffer;
    EXPECT_GT(blocksThatDiffer, 100);
}

TEST(KivScaledDrawing, TheClipSetIsTheClipReturnedAndBoundsTheDevicePixels) {
    const KivBitmap bitmap = DrawScaled(1.25, KivPoint{40, 40}, [](KivDrawer& drawer) {
        const KivRect saved = drawer.GetClipRect();
        EXPECT_EQ(saved, (KivRect{0, 0, 39, 39}));
        drawer.SetClipRect(KivRect{3, 5, 13, 17});
        EXPECT_EQ(drawer.GetClipRect(), (KivRect{3, 5, 13, 17}));
        drawer.FillRectangle(KivRect{0, 0, 39, 39}, kWhite, Mode::kCopy);
        drawer.SetClipRect(saved);
        EXPECT_EQ(drawer.GetClipRect(), saved);
    });
    // Logical 3..13 at 125%: device round(3.75) = 4 to round(17.5) - 1 = 17; rows 5..17 give
    // round(6.25) = 6 to round(22.5) - 1 = 22.
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            EXPECT_EQ(bitmap.At(x, y), (x >= 4 && x <= 17 && y >= 6 && y <= 22) ? kWhite : kBlack) << x << "," << y;
}

}  // namespace
