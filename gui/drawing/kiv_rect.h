#pragma once
#include <algorithm>
#include <cstdint>

// A rectangle of pixels; right and bottom are inclusive, so a rectangle with right < left
// or bottom < top is empty.
struct KivRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = -1;
    int32_t bottom = -1;

    constexpr int32_t Width() const { return right - left + 1; }
    constexpr int32_t Height() const { return bottom - top + 1; }
    constexpr bool IsEmpty() const { return right < left || bottom < top; }
    constexpr bool Contains(int32_t x, int32_t y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
    constexpr KivRect Intersection(const KivRect& other) const {
        return KivRect{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                       std::min(bottom, other.bottom)};
    }
    constexpr KivRect Offset(int32_t dx, int32_t dy) const {
        return KivRect{left + dx, top + dy, right + dx, bottom + dy};
    }
    friend constexpr bool operator==(const KivRect& x, const KivRect& y) {
        return x.left == y.left && x.top == y.top && x.right == y.right && x.bottom == y.bottom;
    }
};
