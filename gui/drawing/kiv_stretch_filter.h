#pragma once
#include <cstdint>
#include <vector>

#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_rect.h"

// Resampling of a bitmap area to another size. Separable tent filter: one source pixel wide
// when enlarging (bilinear), widened to the scale factor when shrinking so that every source
// pixel contributes (no aliasing). Colours are weighted by their alpha, so transparent pixels
// lend no colour to their neighbours. Weights are 14-bit integers summing exactly to one;
// equal sizes copy the pixels unchanged.
class KivStretchFilter {
public:
    KivStretchFilter(const KivBitmap& source, const KivRect& sourceRect, int32_t targetWidth, int32_t targetHeight);

    // Pixels `first`..`first + count - 1` of target row `y` (0-based in the target area).
    void Row(int32_t y, int32_t first, int32_t count, uint32_t* out);

private:
    struct Taps {
        int32_t start;  // first source index (relative to the source area)
        std::vector<int32_t> weights;
    };
    static std::vector<Taps> Weights(int32_t sourceLength, int32_t targetLength);

    const KivBitmap& source_;
    KivRect sourceRect_;
    std::vector<Taps> columns_;
    std::vector<Taps> rows_;
    std::vector<uint32_t> premultiplied_;  // source area, four channels of 16 bits each in two words
    std::vector<uint32_t> blended_;        // one vertically filtered row, four channels per pixel
};
