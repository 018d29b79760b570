#pragma once
#include <cstdint>

// Alignment flags of AlignedTextOut. Horizontal and vertical choices combine by addition:
// 9 centres both ways. Without flags the text starts at the rectangle's top-left corner.
namespace KivTextAlignment {
constexpr uint32_t kLeft = 0;
constexpr uint32_t kHorizontalCentre = 1;
constexpr uint32_t kRight = 2;
constexpr uint32_t kTop = 0;
constexpr uint32_t kBottom = 4;
constexpr uint32_t kVerticalCentre = 8;
constexpr uint32_t kCentred = kHorizontalCentre | kVerticalCentre;
// Text wider than the rectangle is cut at a whole character and ends in "..." (U+2026).
constexpr uint32_t kEllipsis = 16;
}  // namespace KivTextAlignment
