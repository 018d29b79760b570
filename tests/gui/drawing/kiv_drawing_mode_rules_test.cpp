// The drawing modes of area fills checked against a reference written from their rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "gui/drawing/kiv_alpha_blend_row.h"
#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"

namespace {

using Mode = KivDrawingMode;

struct Px {
    int c[3];  // blue, green, red
    int a;
};

Px Of(KivColor colour) { return Px{{colour.b, colour.g, colour.r}, colour.a}; }
KivColor To(const Px& p) {
    return KivColor{static_cast<uint8_t>(p.c[0]), static_cast<uint8_t>(p.c[1]), static_cast<uint8_t>(p.c[2]),
                    static_cast<uint8_t>(p.a)};
}
int Mix(int source, int destination, int a) { return (source * a + destination * (255 - a)) >> 8; }
int Clamp(int v) { return std::min(255, std::max(0, v)); }
int Mod256(int v) { return ((v % 256) + 256) % 256; }

// Hue, saturation and value to blue, green, red: the usual six-sector wheel on 0..255.
void HsvToBgr(int h, int s, int v, int* bgr) {
    if (s == 0) {
        bgr[0] = bgr[1] = bgr[2] = v;
        return;
    }
    const int region = h / 43, f = (h - region * 43) * 6;
    const int p = (v * (255 - s)) >> 8, q = (v * (255 - ((s * f) >> 8))) >> 8, t = (v * (255 - ((s * (255 - f)) >> 8))) >> 8;
    const int table[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};  // red, green, blue
    bgr[2] = table[region][0];
    bgr[1] = table[region][1];
    bgr[0] = table[region][2];
}

// FillRectangle's result on one pixel, straight from the rules.
KivColor Reference(Mode mode, KivColor colour, KivColor destination) {
    const Px c = Of(colour);
    Px d = Of(destination);
    const int a = c.a;
    const int mode_value = static_cast<int>(mode);
    if (mode == Mode::kCopy || (mode == Mode::kAlphablend && a == 255)) return colour;
    if (mode == Mode::kAlphablend && a == 0) return destination;
    if (mode_value < 1 || mode_value > 16) return destination;
    const int s = std::max({c.c[0], c.c[1], c.c[2]});
    const int m = std::max({d.c[0], d.c[1], d.c[2]});
    switch (mode) {
        case Mode::kAlphablend:
            for (int k = 0; k < 3; ++k) d.c[k] = Mix(c.c[k], d.c[k], a);
            break;
        case Mode::kModulate:
            for (int k = 0; k < 3; ++k) d.c[k] = Mix(((d.c[k] + 1) * c.c[k]) >> 8, d.c[k], a);
            break;
        case Mode::kOverlay:
            if (d.a == 0) return colour;
            for (int k = 0; k < 3; ++k) d.c[k] = Mix(c.c[k], d.c[k], a);
            d.a = std::min(255, d.a + a);
            break;
        case Mode::kColor: {
            const int v = m, deltaD = v - std::min({d.c[0], d.c[1], d.c[2]});
            const int sat = deltaD == 0 ? 0 : deltaD * 255 / v;
            const int delta = s - std::min({c.c[0], c.c[1], c.c[2]});
            int h = 0;
            if (delta != 0) {
                if (c.c[2] == s) h = Mod256((c.c[1] - c.c[0]) * 255 / (6 * delta));
                else if (c.c[1] == s) h = Mod256((c.c[0] - c.c[2]) * 255 / (6 * delta) + 85);
                else h = Mod256((c.c[2] - c.c[1]) * 255 / (6 * delta) - 86);
            }
            int r[3];
            HsvToBgr(h, sat, v, r);
            for (int k = 0; k < 3; ++k) d.c[k] = Mix(r[k], d.c[k], a);
            break;
        }
        case Mode::kInvert:
            for (int k = 0; k < 3; ++k) d.c[k] = Mix(255 - d.c[k], d.c[k], a);
            break;
        case Mode::kAdd:
            for (int k = 0; k < 3; ++k) d.c[k] = std::min(255, d.c[k] + (((c.c[k] + 1) * a) >> 8));
            break;
        case Mode::kSubtract:
            for (int k = 0; k < 3; ++k) d.c[k] = std::max(0, d.c[k] - (((c.c[k] + 1) * a) >> 8));
            break;
        case Mode::kLighten:
        case Mode::kDarken: {
            int n = mode == Mode::kLighten ? std::min(255, m + (((s + 1) * a) >> 8)) : m - (((256 - s) * a) >> 8);
            if (n < 0) n = 0;
            for (int k = 0; k < 3; ++k) d.c[k] = m > 0 ? d.c[k] * n / m : (mode == Mode::kLighten ? n : 0);
            break;
        }
        case Mode::kDifference:
            for (int k = 0; k < 3; ++k) d.c[k] = Mix(std::max(0, c.c[k] - d.c[k]), d.c[k], a);
            break;
        case Mode::kIncContrast:
            for (int k = 0; k < 3; ++k) d.c[k] = Mix(Clamp((d.c[k] - 127) * (4335 - 16 * c.c[k]) / 255 + 127), d.c[k], a);
            break;
        case Mode::kDecContrast:
            for (int k = 0; k < 3; ++k) d.c[k] = Mix(Clamp((d.c[k] - 127) * c.c[k] / 255 + 127), d.c[k], a);
            break;
        case Mode::kLightenByContrast:
            for (int k = 0; k < 3; ++k) {
                const int t = ((c.c[k] + 1) * a) >> 8;
                d.c[k] = t < 255 ? std::min(255, d.c[k] * 255 / (255 - t)) : 255;
            }
            break;
        case Mode::kDarkenByContrast:
            for (int k = 0; k < 3; ++k) {
                const int t = ((256 - c.c[k]) * a) >> 8;
                d.c[k] = t < 255 ? Clamp((d.c[k] - t) * 255 / (255 - t)) : 0;
            }
            break;
        case Mode::kAddAndOverflow:
            for (int k = 0; k < 3; ++k) d.c[k] = (d.c[k] + c.c[k]) % 256;
            break;
        default:
            break;
    }
    return To(d);
}

// Random bytes, with the corner values 0 and 255 drawn often.
uint8_t Byte(std::mt19937& random) {
    const uint32_t pick = random() % 8;
    return pick == 0 ? 0 : pick == 1 ? 255 : static_cast<uint8_t>(random());
}
KivColor RandomColor(std::mt19937& random) { return KivColor{Byte(random), Byte(random), Byte(random), Byte(random)}; }

KivColor FillOnePixel(Mode mode, KivColor colour, KivColor destination) {
    KivBitmap bitmap(1, 1);
    bitmap.Set(0, 0, destination);
    KivDrawerToKivBitmap drawer(bitmap);
    drawer.FillRectangle(KivRect{0, 0, 0, 0}, colour, mode);
    return bitmap.At(0, 0);
}

std::string Show(KivColor c) {
    return "(" + std::to_string(c.b) + "," + std::to_string(c.g) + "," + std::to_string(c.r) + "," + std::to_string(c.a) + ")";
}

}  // namespace

TEST(KivDrawingModeRules, EveryModeMatchesTheReferenceOnRandomPairs) {
    std::mt19937 random(20240611);
    for (int mode = 0; mode <= 18; ++mode) {
        for (int trial = 0; trial < 20000; ++trial) {
            const KivColor colour = RandomColor(random), destination = RandomColor(random);
            const KivColor expected = Reference(static_cast<Mode>(mode), colour, destination);
            const KivColor actual = FillOnePixel(static_cast<Mode>(mode), colour, destination);
            ASSERT_EQ(expected, actual) << "mode " << mode << " colour " << Show(colour) << " destination "
                                        << Show(destination) << " gave " << Show(actual) << " not " << Show(expected);
        }
    }
}

TEST(KivDrawingModeRules, WideFillsMatchTheReferenceOnEveryPixel) {
    // Rows of many widths and offsets reach the vector loop, its scalar tail and the row loops.
    std::mt19937 random(7);
    for (int mode = 1; mode <= 16; ++mode) {
        for (int trial = 0; trial < 40; ++trial) {
            KivBitmap bitmap(37, 5);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 37; ++x) bitmap.Set(x, y, RandomColor(random));
            const KivBitmap before = bitmap.Clone();
            const KivColor colour = RandomColor(random);
            const int left = static_cast<int>(random() % 37), right = left + static_cast<int>(random() % (37 - left));
            KivDrawerToKivBitmap(bitmap).FillRectangle(KivRect{left, 1, right, 3}, colour, static_cast<Mode>(mode));
            for (int y = 0; y < 5; ++y) {
                for (int x = 0; x < 37; ++x) {
                    const bool inside = y >= 1 && y <= 3 && x >= left && x <= right;
                    const KivColor expected = inside ? Reference(static_cast<Mode>(mode), colour, before.At(x, y)) : before.At(x, y);
                    ASSERT_EQ(expected, bitmap.At(x, y)) << "mode " << mode << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(KivDrawingModeRules, VectorAlphaBlendGivesTheScalarBytes) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 3000; ++trial) {
        const int count = static_cast<int>(random() % 41);
        const int offset = static_cast<int>(random() % 4);  // unaligned starts
        std::vector<uint32_t> scalar(48), vector(48);
        for (uint32_t& pixel : scalar) pixel = RandomColor(random).ToPixel();
        vector = scalar;
        const KivColor colour = RandomColor(random);
        KivAlphaBlendRow::Scalar(colour, scalar.data() + offset, count);
        KivAlphaBlendRow::Vector(colour, vector.data() + offset, count);
        ASSERT_EQ(scalar, vector) << "colour " << Show(colour) << " count " << count;
    }
}

TEST(KivDrawingModeRules, NamedEdgeCases) {
    const KivColor grey{100, 150, 200, 255};
    EXPECT_EQ(FillOnePixel(Mode::kAlphablend, KivColor{1, 2, 3, 255}, grey), (KivColor{1, 2, 3, 255}));
    EXPECT_EQ(FillOnePixel(Mode::kAlphablend, KivColor{1, 2, 3, 0}, grey), grey);
    EXPECT_EQ(FillOnePixel(Mode::kOverlay, KivColor{1, 2, 3, 40}, KivColor{9, 9, 9, 0}), (KivColor{1, 2, 3, 40}));
    EXPECT_EQ(FillOnePixel(Mode::kAdd, KivColor{255, 255, 255, 255}, grey), (KivColor{255, 255, 255, 255}));
    EXPECT_EQ(FillOnePixel(Mode::kSubtract, KivColor{255, 255, 255, 255}, grey), (KivColor{0, 0, 0, 255}));
    EXPECT_EQ(FillOnePixel(Mode::kAddAndOverflow, KivColor{100, 100, 100, 0}, KivColor{200, 200, 200, 7}),
              (KivColor{44, 44, 44, 7}));
    const KivColor black{0, 0, 0, 255};
    const KivColor lightened = FillOnePixel(Mode::kLighten, KivColor{10, 90, 30, 200}, black);
    EXPECT_EQ(lightened.b, lightened.g);
    EXPECT_EQ(lightened.g, lightened.r);
    EXPECT_GT(lightened.r, 0);
    EXPECT_EQ(FillOnePixel(Mode::kDarken, KivColor{10, 90, 30, 200}, black), black);
    EXPECT_EQ(FillOnePixel(Mode::kNone, KivColor{1, 2, 3, 255}, grey), grey);
    EXPECT_EQ(FillOnePixel(static_cast<Mode>(17), KivColor{1, 2, 3, 255}, grey), grey);
    EXPECT_EQ(FillOnePixel(static_cast<Mode>(-1), KivColor{1, 2, 3, 255}, grey), grey);
}

TEST(KivDrawingModeRules, NamesRoundTripAndFoldCase) {
    EXPECT_EQ(KivDrawingModes::Name(Mode::kLightenByContrast), KivString("LightenByContrast"));
    EXPECT_EQ(KivDrawingModes::FromName("alphablend", Mode::kNone), Mode::kAlphablend);
    EXPECT_EQ(KivDrawingModes::FromName("ADDANDOVERFLOW", Mode::kNone), Mode::kAddAndOverflow);
    EXPECT_EQ(KivDrawingModes::FromName("Bogus", Mode::kCopy), Mode::kCopy);
    EXPECT_TRUE(KivDrawingModes::Name(static_cast<Mode>(17)).IsEmpty());
}
