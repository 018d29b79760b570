// Clipping: inclusive on all four sides, and nothing ever drawn outside the clip rectangle.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/drawing/kiv_drawer_using_style.h"
#include "gui/text/kiv_font.h"

namespace {

using Mode = KivDrawingMode;
constexpr KivColor kGuard{1, 2, 3, 4};
constexpr KivColor kPaper{200, 200, 200, 255};

// A bitmap whose clip interior is paper and whose band around it is the guard colour.
KivBitmap GuardedBitmap(const KivRect& clip) {
    KivBitmap bitmap(64, 48);
    bitmap.Clear(kGuard);
    for (int y = clip.top; y <= clip.bottom; ++y)
        for (int x = clip.left; x <= clip.right; ++x) bitmap.Set(x, y, kPaper);
    bitmap.SetClip(clip);
    return bitmap;
}

int GuardViolations(const KivBitmap& bitmap, const KivRect& clip) {
    int violations = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (!clip.Contains(x, y) && bitmap.At(x, y) != kGuard) ++violations;
    return violations;
}

KivBitmap Texture(int width, int height, uint32_t seed) {
    std::mt19937 random(seed);
    KivBitmap texture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) texture.Set(x, y, KivColor::FromArgb(random() | 0x80000000u));
    return texture;
}

}  // namespace

TEST(KivDrawerClipping, FillRectangleTouchesOnlyTheOverlapAndIncludesTheEdges) {
    const KivRect clip{10, 8, 40, 30};
    KivBitmap bitmap = GuardedBitmap(clip);
    KivDrawerToKivBitmap drawer(bitmap);
    const KivColor red{0, 0, 255, 255};
    drawer.FillRectangle(KivRect{41, 8, 60, 30}, red, Mode::kCopy);  // wholly right of the clip
    EXPECT_EQ(GuardViolations(bitmap, clip), 0);
    EXPECT_EQ(bitmap.At(40, 8), kPaper);
    drawer.FillRectangle(KivRect{40, 30, 40, 30}, red, Mode::kCopy);  // one pixel on the bottom-right corner
    EXPECT_EQ(bitmap.At(40, 30), red);
    drawer.FillRectangle(KivRect{0, 0, 12, 9}, red, Mode::kAlphablend);  // partly outside
    EXPECT_EQ(bitmap.At(10, 8), red);
    EXPECT_EQ(bitmap.At(12, 9), red);
    EXPECT_EQ(bitmap.At(13, 9), kPaper);
    EXPECT_EQ(GuardViolations(bitmap, clip), 0);
    EXPECT_EQ(drawer.GetClipTopLeft(), (KivPoint{10, 8}));
    EXPECT_EQ(drawer.GetClipBottomRight(), (KivPoint{40, 30}));
    drawer.SetClipRect(KivRect{-5, -5, 500, 500});
    EXPECT_EQ(drawer.GetClipRect(), bitmap.Bounds());
}

TEST(KivDrawerClipping, PixelsOutsideTheClipReadAsOpaqueBlackAndIgnoreWrites) {
    const KivRect clip{10, 8, 40, 30};
    KivBitmap bitmap = GuardedBitmap(clip);
    KivDrawerToKivBitmap drawer(bitmap);
    EXPECT_EQ(drawer.GetPixel(KivPoint{9, 8}), (KivColor{0, 0, 0, 255}));
    EXPECT_EQ(drawer.GetPixel(KivPoint{-100, 1000}), (KivColor{0, 0, 0, 255}));
    EXPECT_EQ(drawer.GetPixel(KivPoint{40, 30}), kPaper);
    drawer.SetPixel(KivPoint{41, 30}, KivColor{5, 5, 5, 5});
    drawer.SetPixel(KivPoint{40, 30}, KivColor{5, 6, 7, 8});
    EXPECT_EQ(bitmap.At(40, 30), (KivColor{5, 6, 7, 8}));
    EXPECT_EQ(GuardViolations(bitmap, clip), 0);
}

TEST(KivDrawerClipping, NoOperationDrawsOutsideTheClip) {
    std::mt19937 random(314159);
    const KivBitmap texture = Texture(23, 17, 5);
    const KivFont& font = KivFont::OfSize(14);
    auto coordinate = [&](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
    auto point = [&] { return KivPoint{coordinate(-30, 94), coordinate(-30, 78)}; };
    auto pointF = [&] { return KivPointF{coordinate(-3000, 9400) / 100.0, coordinate(-3000, 7800) / 100.0}; };
    auto rect = [&] {
        const KivPoint a = point();
        return KivRect{a.x, a.y, a.x + coordinate(-2, 60), a.y + coordinate(-2, 50)};
    };
    using Operation = std::function<void(KivDrawer&, KivColor, Mode)>;
    const std::vector<std::pair<const char*, Operation>> operations = {
        {"FillRectangle", [&](KivDrawer& d, KivColor c, Mode m) { d.FillRectangle(rect(), c, m); }},
        {"Rectangle", [&](KivDrawer& d, KivColor c, Mode m) { d.Rectangle(rect(), c, m); }},
        {"Gradient", [&](KivDrawer& d, KivColor c, Mode m) {
             d.FillRectangleGradient(rect(), c, KivColor{9, 99, 199, 128}, static_cast<KivGradientDirection>(random() % 2), m);
         }},
        {"RoundRectangle", [&](KivDrawer& d, KivColor c, Mode m) { d.RoundRectangle(rect(), coordinate(0, 20), c, m); }},
        {"FillRoundRectangle", [&](KivDrawer& d, KivColor c, Mode m) { d.FillRoundRectangle(rect(), coordinate(0, 20), c, m); }},
        {"Circle", [&](KivDrawer& d, KivColor c, Mode m) { d.Circle(point(), coordinate(0, 40), c, m); }},
        {"FillCircle", [&](KivDrawer& d, KivColor c, Mode m) { d.FillCircle(point(), coordinate(0, 40), c, m); }},
        {"LineTo", [&](KivDrawer& d, KivColor c, Mode m) { d.MoveTo(point()); d.LineTo(point(), c, m); }},
        {"LineToF", [&](KivDrawer& d, KivColor c, Mode m) { d.MoveToF(pointF()); d.LineToF(pointF(), c, m); }},
        {"PolyLine", [&](KivDrawer& d, KivColor c, Mode m) {
             std::vector<KivPoint> points(static_cast<size_t>(coordinate(1, 6)));
             for (KivPoint& p : points) p = point();
             d.PolyLine(points.data(), static_cast<int32_t>(points.size()), c, m);
         }},
        {"FillPolygon", [&](KivDrawer& d, KivColor c, Mode m) {
             std::vector<KivPoint> points(static_cast<size_t>(coordinate(3, 7)));
             for (KivPoint& p : points) p = point();
             d.FillPolygon(points.data(), static_cast<int32_t>(points.size()), c, m);
         }},
        {"FillPolygonF", [&](KivDrawer& d, KivColor c, Mode m) {
             std::vector<KivPointF> points(static_cast<size_t>(coordinate(3, 7)));
             for (KivPointF& p : points) p = pointF();
             d.FillPolygonF(points.data(), static_cast<int32_t>(points.size()), c, m);
         }},
        {"AlignedTextOut", [&](KivDrawer& d, KivColor c, Mode m) {
             d.AlignedTextOut(font, "Wg|Threshold", rect(), static_cast<uint32_t>(random() % 32), c, m);
         }},
        {"BitBlt", [&](KivDrawer& d, KivColor, Mode m) { d.BitBlt(point(), texture, KivRect{-3, 2, 30, 20}, m); }},
        {"AlphaMask", [&](KivDrawer& d, KivColor, Mode m) { d.AlphaMask(point(), texture, texture.Bounds(), texture, point(), m); }},
        {"StretchBlt", [&](KivDrawer& d, KivColor, Mode m) { d.StretchBlt(rect(), texture, KivRect{2, 1, 20, 15}, m); }},
        {"StretchBltH", [&](KivDrawer& d, KivColor, Mode m) { d.StretchBltH(point(), coordinate(1, 70), texture, texture.Bounds(), m); }},
        {"StretchBltV", [&](KivDrawer& d, KivColor, Mode m) { d.StretchBltV(point(), coordinate(1, 70), texture, texture.Bounds(), m); }},
        {"TileBlt", [&](KivDrawer& d, KivColor, Mode m) {
             d.TileBlt(rect(), texture, KivRect{1, 1, 9, 7}, random() % 2 == 0, random() % 2 == 0, m);
         }},
        {"PatBlt", [&](KivDrawer& d, KivColor, Mode m) { d.PatBlt(rect(), texture, m); }},
        {"SetPixel", [&](KivDrawer& d, KivColor c, Mode) { d.SetPixel(point(), c); }},
    };
    for (const auto& [name, operation] : operations) {
        for (int trial = 0; trial < 150; ++trial) {
            const KivRect clip{coordinate(0, 30), coordinate(0, 20), coordinate(31, 63), coordinate(21, 47)};
            KivBitmap bitmap = GuardedBitmap(clip);
            KivDrawerToKivBitmap drawer(bitmap);
            const KivColor colour{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                                  static_cast<uint8_t>(random()), static_cast<uint8_t>(random() % 2 ? 255 : random())};
            operation(drawer, colour, static_cast<Mode>(coordinate(1, 16)));
            ASSERT_EQ(GuardViolations(bitmap, clip), 0) << name << " trial " << trial;
        }
    }
}

namespace {
class TwoColourStyle : public KivDrawingStyle {
public:
    int32_t ColorCount() const override { return 2; }
    KivColor Color(int32_t index) const override { return index == 0 ? KivColor{1, 1, 1, 255} : KivColor{2, 2, 2, 255}; }
    KivString ColorName(int32_t index) const override { return index == 0 ? "Background of editors" : "Highlight of selectors"; }
    int32_t FontCount() const override { return 1; }
    const KivFont* Font(int32_t) const override { return &KivFont::OfSize(12); }
    KivString FontName(int32_t) const override { return "Normal"; }
};
}  // namespace

TEST(KivDrawerClipping, StyledDrawerAnswersFromItsStyleAndDrawsLikeItsBase) {
    KivBitmap bitmap(4, 4);
    TwoColourStyle style;
    KivDrawerUsingStyle<KivDrawerToKivBitmap> drawer(style, bitmap);
    EXPECT_EQ(drawer.FindStyleColor("highlight of SELECTORS"), 1);
    EXPECT_EQ(drawer.GetStyleColor(1), (KivColor{2, 2, 2, 255}));
    EXPECT_EQ(drawer.GetStyleColor(7), (KivColor{0, 0, 0, 255}));
    EXPECT_EQ(drawer.FindStyleColor("missing"), -1);
    EXPECT_EQ(drawer.GetStyleFont(0), &KivFont::OfSize(12));
    EXPECT_EQ(drawer.GetStyleFont(1), nullptr);
    drawer.SetStateByte(77);
    EXPECT_EQ(drawer.GetStateByte(), 77);
    KivDrawerToKivBitmap plain(bitmap);
    EXPECT_EQ(plain.GetStyleColorCount(), 0);
    EXPECT_EQ(plain.GetStyleFont(0), nullptr);
    drawer.FillRectangle(KivRect{1, 1, 2, 2}, drawer.GetStyleColor(0), KivDrawingMode::kCopy);
    EXPECT_EQ(bitmap.At(2, 2), (KivColor{1, 1, 1, 255}));
}
