#pragma once
#include <cstdint>

// A pixel position.
struct KivPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend constexpr bool operator==(KivPoint p, KivPoint q) { return p.x == q.x && p.y == q.y; }
};

// A position between pixels, for the drawing operations with an "F" suffix. Integer values
// are pixel centres, the same places the integer operations draw through.
struct KivPointF {
    double x = 0.0;
    double y = 0.0;
};
