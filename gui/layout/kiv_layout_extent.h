#pragma once
#include <algorithm>
#include <cstdint>

#include "gui/drawing/kiv_point.h"

// What the layouts of one parent need, gathered in the order they run. `used` is what the
// layouts so far took off the free rectangle for good (strips, spacings, borders); `needed`
// is the largest extent any layout asked for, each counted from where its free rectangle
// began. The parent needs the larger of both.
struct KivLayoutExtent {
    KivPoint used{};
    KivPoint needed{};

    // A layout whose free rectangle starts after `used` asks for `width` × `height`.
    void Need(int32_t width, int32_t height) {
        needed.x = std::max(needed.x, used.x + width);
        needed.y = std::max(needed.y, used.y + height);
    }
    void Take(int32_t width, int32_t height) {
        used.x += width;
        used.y += height;
    }
    KivPoint Total() const { return KivPoint{std::max(used.x, needed.x), std::max(used.y, needed.y)}; }
};
