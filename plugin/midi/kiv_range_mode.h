#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// How a controller slot spreads a controller's travel over its target parameter.
enum KivRangeMode : uint32_t {
    kKivRangeUpAndDown = 0,
    kKivRangeFullRange = 1,
    kKivRangeUpOnly = 2,
    kKivRangeDownOnly = 3,
    kKivRangeInterval = 4,
};

namespace KivRangeModes {

constexpr int32_t kCount = 5;

// The name shown in the "Range mode" menu.
KivString Name(KivRangeMode mode);

// The target's normalised value for controller position `x` (-1..1) around base `base`, with
// end `end` (Interval only) and depth `depth`; always within 0..1.
double Apply(KivRangeMode mode, double x, double base, double end, double depth) noexcept;

}  // namespace KivRangeModes
