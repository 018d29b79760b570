#pragma once
#include <cstdint>

// Which way FillRectangleGradient runs from its first colour to its second.
enum class KivGradientDirection : int32_t {
    kHorizontal = 0,  // left column in the first colour, right column in the second
    kVertical = 1,    // top row in the first colour, bottom row in the second
};
