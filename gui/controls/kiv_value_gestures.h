#pragma once
#include <cstdint>

// How far the mouse and wheel move a value control, shared by knobs and trackers so that
// every continuous control feels the same.
namespace KivValueGestures {
// Pixels of drag for the whole range; Shift makes the drag ten times finer.
inline constexpr double kDragPixels = 200.0;
inline constexpr double kFineFactor = 10.0;
// Share of the range per wheel notch (120 units) or arrow key.
inline constexpr double kNotchShare = 0.02;

double DragShare(int32_t pixels, uint8_t state);
double NotchShare(uint8_t state);
}  // namespace KivValueGestures
