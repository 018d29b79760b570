#pragma once
#include <cstdint>
#include <vector>

// One rendered glyph: a coverage image (0 outside the outline, 255 inside) and where its
// top-left pixel sits relative to the pen position on the baseline.
struct KivGlyph {
    int32_t width = 0;
    int32_t height = 0;
    int32_t offsetX = 0;  // from the pen's whole pixel to the image's left column
    int32_t offsetY = 0;  // from the baseline to the image's top row (negative above it)
    std::vector<uint8_t> coverage;  // height rows of width bytes
};
