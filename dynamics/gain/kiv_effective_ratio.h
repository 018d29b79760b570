#pragma once
#include <cmath>

// The ratio knob runs over codes -1 .. 20 so that expansion and compression share one linear
// travel: codes from 1 are the ratio itself, codes below 1 are 1 : (2 - code) and the top
// code is an infinite ratio (a limiter).
inline constexpr double kKivInfiniteRatio = 1.7e308;
inline constexpr double kKivInfiniteRatioCode = 20.0;

inline bool KivIsInfiniteRatioCode(double code) noexcept { return std::fabs(code - kKivInfiniteRatioCode) < 1e-50; }
inline bool KivIsExpandingRatioCode(double code) noexcept { return code + 1e-50 < 1.0; }

// A host's 32-bit normalised value cannot land on the 1:1 code exactly (it comes back as
// 0.99999994 or so, which is still shown as 1:1); codes that close count as 1:1, so that the
// shape is the identity line and the signal passes unchanged.
inline constexpr double kKivUnityRatioSnap = 1e-6;

inline double KivEffectiveRatio(double code) noexcept {
    if (KivIsInfiniteRatioCode(code)) return kKivInfiniteRatio;
    if (std::fabs(code - 1.0) < kKivUnityRatioSnap) return 1.0;
    if (KivIsExpandingRatioCode(code)) return 1.0 / (2.0 - code);
    return code;
}
