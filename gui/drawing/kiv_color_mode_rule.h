#pragma once
#include <cstdint>

#include "gui/drawing/kiv_color.h"

// Drawing mode "Color": the colour's hue with the destination's saturation and value,
// all on 0..255 integer scales.
namespace KivColorModeRule {

struct Hsv {
    int32_t h;
    int32_t s;
    int32_t v;
};

// The hue of `colour` on a 0..255 circle (red 0, green 85, blue 170); 0 for greys.
int32_t HueOf(KivColor colour) noexcept;
// Saturation and value of a blue, green, red triple (hue left 0).
Hsv SaturationAndValueOf(const uint8_t* bgr) noexcept;
// Back to blue, green, red through the six-sector hue wheel.
void ToBgr(Hsv hsv, uint8_t* bgr) noexcept;
// The whole rule on one pixel: recombined, then blended by the colour's alpha.
void Apply(KivColor colour, uint8_t* pixel) noexcept;

}  // namespace KivColorModeRule
