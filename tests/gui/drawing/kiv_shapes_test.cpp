// Anti-aliased shapes: where they cover, how much, and that full coverage behaves like a fill.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"

namespace {

using Mode = KivDrawingMode;
constexpr KivColor kWhite{255, 255, 255, 255};
constexpr KivColor kBlack{0, 0, 0, 255};

// Copy mixes by coverage, so white copied onto black leaves each pixel's coverage in its bytes.
struct CoverageCanvas {
    KivBitmap bitmap{64, 64};
    KivDrawerToKivBitmap drawer{bitmap};
    CoverageCanvas() { bitmap.Clear(kBlack); }
    int At(int x, int y) const { return bitmap.At(x, y).g; }
    double Area() const {
        double sum = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) sum += At(x, y) / 255.0;
        return sum;
    }
};

bool SameBitmaps(const KivBitmap& a, const KivBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

}  // namespace

TEST(KivShapes, PolygonAroundARectangleDrawsLikeFillRectangleInEveryMode) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 200; ++trial) {
        KivBitmap filled(24, 24);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) filled.Set(x, y, KivColor::FromArgb(random()));
        KivBitmap polygon = filled.Clone();
        const int l = static_cast<int>(random() % 20), t = static_cast<int>(random() % 20);
        const KivRect rect{l, t, l + static_cast<int>(random() % 6), t + static_cast<int>(random() % 6)};
        const KivColor colour = KivColor::FromArgb(random() | (trial % 2 ? 0xFF000000u : 0));
        const auto mode = static_cast<Mode>(1 + trial % 16);
        KivDrawerToKivBitmap(filled).FillRectangle(rect, colour, mode);
        const KivPoint corners[4] = {{rect.left, rect.top}, {rect.right + 1, rect.top}, {rect.right + 1, rect.bottom + 1},
                                     {rect.left, rect.bottom + 1}};
        KivDrawerToKivBitmap(polygon).FillPolygon(corners, 4, colour, mode);
        ASSERT_TRUE(SameBitmaps(filled, polygon)) << "mode " << static_cast<int>(mode) << " trial " << trial;
    }
}

TEST(KivShapes, PolygonCoverageAddsUpToItsArea) {
    std::mt19937 random(5);
    for (int trial = 0; trial < 100; ++trial) {
        // A convex triangle well inside the canvas; its area by the shoelace formula.
        KivPointF p[3];
        for (KivPointF& point : p) point = KivPointF{4 + (random() % 5500) / 100.0, 4 + (random() % 5500) / 100.0};
        const double area = std::fabs((p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y)) / 2;
        CoverageCanvas canvas;
        canvas.drawer.FillPolygonF(p, 3, kWhite, Mode::kCopy);
        // Each pixel's coverage is rounded to 1/255: at most half a step per touched pixel.
        EXPECT_NEAR(canvas.Area(), area, 0.5 + area * 0.002) << "trial " << trial;
    }
}

TEST(KivShapes, LinesCoverTheirPixelsFromEndToEnd) {
    CoverageCanvas canvas;
    canvas.drawer.MoveTo(KivPoint{5, 10});
    canvas.drawer.LineTo(KivPoint{20, 10}, kWhite, Mode::kCopy);
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            EXPECT_EQ(canvas.At(x, y), (y == 10 && x >= 5 && x <= 20) ? 255 : 0) << x << "," << y;
        }
    }
    // The current position moved to the end: the next segment starts there.
    canvas.drawer.LineTo(KivPoint{20, 30}, kWhite, Mode::kCopy);
    EXPECT_EQ(canvas.At(20, 30), 255);
    EXPECT_EQ(canvas.At(20, 20), 255);
    // A diagonal line keeps about one pixel of ink per unit of length.
    CoverageCanvas diagonal;
    diagonal.drawer.MoveToF(KivPointF{10, 10});
    diagonal.drawer.LineToF(KivPointF{40, 40}, kWhite, Mode::kCopy);
    EXPECT_NEAR(diagonal.Area(), std::sqrt(2.0) * 30 + 1, 1.0);
}

TEST(KivShapes, CirclesAreRoundSymmetricAndOfTheRightSize) {
    for (int radius : {0, 1, 3, 10, 25}) {
        CoverageCanvas disc;
        disc.drawer.FillCircle(KivPoint{31, 31}, radius, kWhite, Mode::kCopy);
        const double r = radius + 0.5;
        EXPECT_NEAR(disc.Area(), 3.14159265 * r * r, 0.05 * r * r + 0.5) << radius;
        EXPECT_EQ(disc.At(31, 31), 255);
        EXPECT_EQ(disc.At(31 + radius + 1, 31), 0);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 63; ++x) {
                ASSERT_EQ(disc.At(x, y), disc.At(62 - x, y)) << "radius " << radius;
                ASSERT_EQ(disc.At(x, y), disc.At(y, x)) << "radius " << radius;
            }
        }
        CoverageCanvas ring;
        ring.drawer.Circle(KivPoint{31, 31}, radius, kWhite, Mode::kCopy);
        EXPECT_EQ(ring.At(31 + radius, 31), 255);
        if (radius > 2) {
            EXPECT_EQ(ring.At(31, 31), 0);
            EXPECT_NEAR(ring.Area(), 2 * 3.14159265 * radius, 0.1 * radius + 1) << radius;
        }
    }
}

TEST(KivShapes, OutlinesSitOnTheBorderPixelsAndDrawCornersOnce) {
    KivBitmap bitmap(16, 16);
    bitmap.Clear(kBlack);
    KivDrawerToKivBitmap drawer(bitmap);
    const KivColor translucent{255, 255, 255, 128};
    drawer.Rectangle(KivRect{2, 3, 9, 12}, translucent, Mode::kAlphablend);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool border = (x == 2 || x == 9) ? (y >= 3 && y <= 12) : ((y == 3 || y == 12) && x >= 2 && x <= 9);
            EXPECT_EQ(bitmap.At(x, y).g, border ? 127 : 0) << x << "," << y;
        }
    }
    // A round rectangle's straight sides lie on the same pixels, fully covered.
    CoverageCanvas round;
    round.drawer.RoundRectangle(KivRect{10, 10, 40, 30}, 6, kWhite, Mode::kCopy);
    EXPECT_EQ(round.At(25, 10), 255);
    EXPECT_EQ(round.At(10, 20), 255);
    EXPECT_EQ(round.At(25, 11), 0);
    EXPECT_EQ(round.At(10, 10), 0);  // the corner is cut
    CoverageCanvas filled;
    filled.drawer.FillRoundRectangle(KivRect{10, 10, 40, 30}, 6, kWhite, Mode::kCopy);
    EXPECT_EQ(filled.At(25, 10), 255);
    EXPECT_EQ(filled.At(25, 9), 0);
    EXPECT_EQ(filled.At(40, 20), 255);
    EXPECT_EQ(filled.At(41, 20), 0);
    EXPECT_LT(filled.At(10, 10), 128);
    EXPECT_NEAR(filled.Area(), 31 * 21 - (4 - 3.14159265) * 36, 2.0);
}

TEST(KivShapes, GradientsReachBothColoursAndClipWithoutShifting) {
    const KivColor top{10, 20, 30, 255}, bottom{250, 150, 50, 255};
    KivBitmap whole(8, 40), clipped(8, 40);
    KivDrawerToKivBitmap(whole).FillRectangleGradient(KivRect{0, 0, 7, 39}, top, bottom, KivGradientDirection::kVertical,
                                                      Mode::kCopy);
    EXPECT_EQ(whole.At(3, 0), top);
    EXPECT_EQ(whole.At(3, 39), bottom);
    EXPECT_EQ(whole.At(3, 20).b, 10 + (240 * 20 + 19) / 39);
    for (int y = 1; y < 40; ++y) EXPECT_GE(whole.At(0, y).b, whole.At(0, y - 1).b);
    clipped.SetClip(KivRect{0, 15, 7, 25});
    KivDrawerToKivBitmap(clipped).FillRectangleGradient(KivRect{0, 0, 7, 39}, top, bottom, KivGradientDirection::kVertical,
                                                        Mode::kCopy);
    EXPECT_EQ(clipped.At(5, 17), whole.At(5, 17));
    EXPECT_EQ(clipped.At(5, 14), (KivColor{0, 0, 0, 0}));
    KivBitmap across(40, 2);
    KivDrawerToKivBitmap(across).FillRectangleGradient(KivRect{0, 0, 39, 1}, top, bottom,
                                                       KivGradientDirection::kHorizontal, Mode::kCopy);
    EXPECT_EQ(across.At(0, 1), top);
    EXPECT_EQ(across.At(39, 1), bottom);
}

TEST(KivShapes, ShapesAndStretchesGiveTheSamePixelsOnEveryPlatform) {
    // A fingerprint of anti-aliased geometry and filtering; the Linux and Windows builds must
    // both produce it.
    KivBitmap scene(96, 64);
    scene.Clear(KivColor{30, 25, 20, 255});
    KivDrawerToKivBitmap drawer(scene);
    drawer.FillRoundRectangle(KivRect{3, 4, 60, 40}, 7, KivColor{90, 80, 70, 200}, Mode::kAlphablend);
    drawer.Circle(KivPoint{70, 30}, 17, KivColor{255, 200, 90, 255}, Mode::kAlphablend);
    drawer.FillCircle(KivPoint{20, 50}, 9, KivColor{60, 180, 255, 160}, Mode::kAdd);
    const KivPointF curve[5] = {{2.3, 60.1}, {20.7, 33.9}, {41.2, 30.4}, {70.9, 8.25}, {94.6, 3.3}};
    drawer.PolyLineF(curve, 5, KivColor{255, 255, 255, 230}, Mode::kAlphablend);
    const KivPoint star[5] = {{48, 2}, {58, 60}, {10, 20}, {90, 22}, {36, 62}};
    drawer.FillPolygon(star, 5, KivColor{40, 255, 120, 90}, Mode::kAlphablend);
    KivBitmap small(37, 23);
    KivDrawerToKivBitmap(small).StretchBlt(small.Bounds(), scene, scene.Bounds(), Mode::kCopy);
    drawer.StretchBlt(KivRect{50, 40, 95, 63}, small, small.Bounds(), Mode::kAlphablend);
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < scene.Height(); ++y)
        for (int x = 0; x < scene.Width(); ++x) hash = (hash ^ scene.At(x, y).ToPixel()) * 1099511628211ull;
    EXPECT_EQ(hash, 14907632654894113834ull);
}
