#pragma once
#include <cstdint>
#include <bit>

// One pixel or colour: four bytes in memory order blue, green, red, alpha (255 is opaque),
// the layout of every bitmap the toolkit paints.
struct KivColor {
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
    uint8_t a = 255;

    static constexpr KivColor Rgb(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255) {
        return KivColor{blue, green, red, alpha};
    }
    // 0xAARRGGBB, the way colours are usually written down.
    static constexpr KivColor FromArgb(uint32_t argb) {
        return KivColor{static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 8),
                        static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 24)};
    }
    constexpr uint32_t ToArgb() const {
        return static_cast<uint32_t>(b) | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(r) << 16 |
               static_cast<uint32_t>(a) << 24;
    }
    constexpr KivColor WithAlpha(uint8_t alpha) const { return KivColor{b, g, r, alpha}; }

    // The four bytes as one 32-bit word in memory order, for whole-pixel stores: on the
    // little-endian processors the toolkit runs on that word is 0xAARRGGBB.
    constexpr uint32_t ToPixel() const { return ToArgb(); }
    static constexpr KivColor FromPixel(uint32_t pixel) { return FromArgb(pixel); }

    friend constexpr bool operator==(KivColor x, KivColor y) {
        return x.b == y.b && x.g == y.g && x.r == y.r && x.a == y.a;
    }
    friend constexpr bool operator!=(KivColor x, KivColor y) { return !(x == y); }
};

static_assert(sizeof(KivColor) == 4, "a colour is exactly one 32-bit pixel");
static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");
