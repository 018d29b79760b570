// Bitmap copies: plain, masked, stretched, tiled.
#include <gtest/gtest.h>

#include <random>

#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"

namespace {

using Mode = KivDrawingMode;

KivBitmap Noise(int width, int height, uint32_t seed, bool opaque = false) {
    std::mt19937 random(seed);
    KivBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.Set(x, y, KivColor::FromArgb(random() | (opaque ? 0xFF000000u : 0)));
    return bitmap;
}

// What FillRectangle makes of one pixel in `mode` with `colour`.
KivColor Filled(KivColor destination, KivColor colour, Mode mode) {
    KivBitmap one(1, 1);
    one.Set(0, 0, destination);
    KivDrawerToKivBitmap(one).FillRectangle(one.Bounds(), colour, mode);
    return one.At(0, 0);
}

}  // namespace

TEST(KivBitmapCopies, BitBltCombinesEachSourcePixelAsAFillWouldAndClips) {
    const KivBitmap source = Noise(20, 15, 1);
    for (int mode = 1; mode <= 16; ++mode) {
        KivBitmap target = Noise(30, 30, 2);
        const KivBitmap before = target.Clone();
        target.SetClip(KivRect{5, 5, 24, 24});
        // The source area reaches past the source's left edge and the copy past the clip.
        KivDrawerToKivBitmap(target).BitBlt(KivPoint{12, 3}, source, KivRect{-2, 0, 17, 14}, static_cast<Mode>(mode));
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                const int sx = x - 12 - 2, sy = y - 3;
                const bool copied = target.Clip().Contains(x, y) && sx >= 0 && sx <= 17 && sy >= 0 && sy <= 14;
                const KivColor expected =
                    copied ? Filled(before.At(x, y), source.At(sx, sy), static_cast<Mode>(mode)) : before.At(x, y);
                ASSERT_EQ(target.At(x, y), expected) << "mode " << mode << " at " << x << "," << y;
            }
        }
    }
}

TEST(KivBitmapCopies, AlphaMaskScalesTheSourceAlphaByTheMask) {
    const KivBitmap source = Noise(8, 8, 3, true);
    KivBitmap mask(4, 4);
    mask.Clear(KivColor{0, 0, 0, 0});
    mask.Set(1, 1, KivColor{0, 0, 0, 255});
    mask.Set(2, 1, KivColor{0, 0, 0, 128});
    KivBitmap target(10, 10);
    KivDrawerToKivBitmap(target).AlphaMask(KivPoint{0, 0}, source, source.Bounds(), mask, KivPoint{-2, -3},
                                           Mode::kAlphablend);
    // Mask pixel (1, 1) sits over source pixel (3, 4); the mask covers source (2..5, 3..6) only.
    EXPECT_EQ(target.At(3, 4), source.At(3, 4));
    EXPECT_EQ(target.At(4, 4), Filled(KivColor{0, 0, 0, 0}, source.At(4, 4).WithAlpha(128), Mode::kAlphablend));
    EXPECT_EQ(target.At(7, 4), (KivColor{0, 0, 0, 0}));
    EXPECT_EQ(target.At(2, 3), (KivColor{0, 0, 0, 0}));
}

TEST(KivBitmapCopies, StretchingKeepsSizesExactColoursUniformAndTransparencyClean) {
    const KivBitmap source = Noise(13, 9, 4);
    KivBitmap same(13, 9);
    KivDrawerToKivBitmap(same).StretchBlt(same.Bounds(), source, source.Bounds(), Mode::kCopy);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x)
            if (source.At(x, y).a != 0) {
                ASSERT_EQ(same.At(x, y), source.At(x, y)) << x << "," << y;
            }

    // Opaque red beside transparent green: no green may bleed into the stretched red.
    KivBitmap edge(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) edge.Set(x, y, x < 2 ? KivColor{0, 0, 255, 255} : KivColor{0, 255, 0, 0});
    KivBitmap large(37, 23);
    KivDrawerToKivBitmap(large).StretchBlt(large.Bounds(), edge, edge.Bounds(), Mode::kCopy);
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            const KivColor c = large.At(x, y);
            if (c.a != 0) {
                ASSERT_EQ(c.WithAlpha(255), (KivColor{0, 0, 255, 255})) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(large.At(0, 11).a, 255);
    EXPECT_EQ(large.At(36, 11).a, 0);

    // Shrinking a one-pixel checkerboard averages it instead of picking one colour.
    KivBitmap checker(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) checker.Set(x, y, (x + y) % 2 ? KivColor{255, 255, 255, 255} : KivColor{0, 0, 0, 255});
    KivBitmap small(16, 16);
    KivDrawerToKivBitmap(small).StretchBlt(small.Bounds(), checker, checker.Bounds(), Mode::kCopy);
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x) ASSERT_NEAR(small.At(x, y).g, 128, 3) << x << "," << y;

    // Horizontal-only and vertical-only stretches keep the other size.
    KivBitmap strips(40, 40);
    KivDrawerToKivBitmap drawer(strips);
    drawer.StretchBltH(KivPoint{0, 0}, 30, source, source.Bounds(), Mode::kCopy);
    EXPECT_NE(strips.At(29, 8), (KivColor{0, 0, 0, 0}));
    EXPECT_EQ(strips.At(29, 9), (KivColor{0, 0, 0, 0}));
    drawer.StretchBltV(KivPoint{0, 10}, 25, source, source.Bounds(), Mode::kCopy);
    EXPECT_EQ(strips.At(13, 20), (KivColor{0, 0, 0, 0}));
}

TEST(KivBitmapCopies, TilesRepeatFromTheirAnchor) {
    const KivBitmap source = Noise(10, 10, 5, true);
    const KivRect piece{2, 3, 5, 5};  // 4 x 3
    KivBitmap target(30, 30);
    KivDrawerToKivBitmap drawer(target);
    drawer.TileBlt(KivRect{3, 4, 25, 20}, source, piece, true, true, Mode::kCopy);
    for (int y = 4; y <= 20; ++y)
        for (int x = 3; x <= 25; ++x)
            ASSERT_EQ(target.At(x, y), source.At(2 + (x - 3) % 4, 3 + (y - 4) % 3)) << x << "," << y;
    EXPECT_EQ(target.At(26, 10), (KivColor{0, 0, 0, 0}));

    // Tiled across, stretched down: every column repeats with period 4.
    KivBitmap bar(30, 30);
    KivDrawerToKivBitmap(bar).TileBlt(KivRect{0, 0, 29, 29}, source, piece, true, false, Mode::kCopy);
    for (int y = 0; y < 30; ++y)
        for (int x = 4; x < 30; ++x) ASSERT_EQ(bar.At(x, y), bar.At(x - 4, y));

    // Patterns line up with the target's origin, wherever the filled rectangle starts.
    KivBitmap patterned(30, 30);
    KivDrawerToKivBitmap(patterned).PatBlt(KivRect{7, 9, 20, 20}, source, Mode::kCopy);
    EXPECT_EQ(patterned.At(7, 9), source.At(7, 9));
    EXPECT_EQ(patterned.At(13, 19), source.At(3, 9));
}
