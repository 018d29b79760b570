#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// How a drawn colour combines with the pixels already there. The values are stored in GUI
// descriptions by name; any other value (0 included) draws nothing.
enum class KivDrawingMode : int32_t {
    kNone = 0,
    kAlphablend = 1,
    kModulate = 2,
    kCopy = 3,
    kOverlay = 4,
    kColor = 5,
    kInvert = 6,
    kAdd = 7,
    kSubtract = 8,
    kLighten = 9,
    kDarken = 10,
    kDifference = 11,
    kIncContrast = 12,
    kDecContrast = 13,
    kLightenByContrast = 14,
    kDarkenByContrast = 15,
    kAddAndOverflow = 16,
};

namespace KivDrawingModes {
constexpr int32_t kCount = 17;
// "Alphablend" for mode 1 and so on; an empty text for values outside 0..16.
KivString Name(KivDrawingMode mode);
// The mode of a name, compared folded (case and accents ignored); `fallback` when unknown.
KivDrawingMode FromName(const KivString& name, KivDrawingMode fallback = KivDrawingMode::kAlphablend);
constexpr bool Draws(KivDrawingMode mode) {
    return static_cast<int32_t>(mode) >= 1 && static_cast<int32_t>(mode) <= 16;
}
}  // namespace KivDrawingModes
