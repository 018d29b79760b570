#pragma once
#include <cmath>

// The ratio knob runs over codes -1 .. 20 so that expansion and compression share one linear
// travel: codes from 1 are the ratio itself, codes below 1 are 1 : (2 - code) and the top
// code is an infinite ratio (a limiter).
inline constexpr double kKivInfiniteRatio = 1.7e308;
inline constexpr double kKivInfiniteRatioCode = 20.0;

inline bool KivIsInfiniteRatioCode(double code) noexcept { return std::fabs(code - kKivInfiniteRatioCode) < 1e-50; }
inline bool KivIsExpandingRatioCode(double code) noexcept { return code + 1e-50 < 1.0; }

inline double KivEffectiveRatio(double code) noexcept {
    if (KivIsInfiniteRatioCode(code)) return kKivInfiniteRatio;
    if (KivIsExpandingRatioCode(code)) return 1.0 / (2.0 - code);
    return code;
}
