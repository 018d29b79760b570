#include "gui/drawing/kiv_color_mode_rule.h"

#include <algorithm>

namespace KivColorModeRule {

int32_t HueOf(KivColor colour) noexcept {
    const int32_t blue = colour.b, green = colour.g, red = colour.r;
    const int32_t maximum = std::max({blue, green, red});
    const int32_t delta = maximum - std::min({blue, green, red});
    if (delta == 0) return 0;
    int32_t hue;
    if (red == maximum) {
        hue = (green - blue) * 255 / (6 * delta);
    } else if (green == maximum) {
        hue = (blue - red) * 255 / (6 * delta) + 85;
    } else {
        hue = (red - green) * 255 / (6 * delta) - 86;
    }
    // The circle wraps: hues just below red (magenta side) come out negative.
    return hue & 255;
}

Hsv SaturationAndValueOf(const uint8_t* bgr) noexcept {
    const int32_t value = std::max({bgr[0], bgr[1], bgr[2]});
    const int32_t delta = value - std::min({bgr[0], bgr[1], bgr[2]});
    return Hsv{0, delta == 0 ? 0 : delta * 255 / value, value};
}

void ToBgr(Hsv hsv, uint8_t* bgr) noexcept {
    const int32_t v = hsv.v;
    if (hsv.s == 0) {
        bgr[0] = bgr[1] = bgr[2] = static_cast<uint8_t>(v);
        return;
    }
    // 43 hue steps per sector; the remainder scaled to 0..255 within its sector.
    const int32_t sector = hsv.h / 43;
    const int32_t remainder = (hsv.h - sector * 43) * 6;
    const int32_t p = (v * (255 - hsv.s)) >> 8;
    const int32_t q = (v * (255 - ((hsv.s * remainder) >> 8))) >> 8;
    const int32_t t = (v * (255 - ((hsv.s * (255 - remainder)) >> 8))) >> 8;
    int32_t red, green, blue;
    switch (sector) {
        case 0: red = v, green = t, blue = p; break;
        case 1: red = q, green = v, blue = p; break;
        case 2: red = p, green = v, blue = t; break;
        case 3: red = p, green = q, blue = v; break;
        case 4: red = t, green = p, blue = v; break;
        default: red = v, green = p, blue = q; break;
    }
    bgr[0] = static_cast<uint8_t>(blue);
    bgr[1] = static_cast<uint8_t>(green);
    bgr[2] = static_cast<uint8_t>(red);
}

void Apply(KivColor colour, uint8_t* pixel) noexcept {
    Hsv hsv = SaturationAndValueOf(pixel);
    hsv.h = HueOf(colour);
    uint8_t recombined[3];
    ToBgr(hsv, recombined);
    const int32_t a = colour.a;
    for (int k = 0; k < 3; ++k) pixel[k] = static_cast<uint8_t>((recombined[k] * a + pixel[k] * (255 - a)) >> 8);
}

}  // namespace KivColorModeRule
