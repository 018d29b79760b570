#pragma once
#include <algorithm>
#include <cmath>

// Where a level sits on the editor's meters: output levels on a root scale from -60 dB (0)
// to 0 dB (1), gain reductions as the root of the gain (1 = none).
namespace TandrelMeterScale {

inline double OutputPosition(double amplitude) {
    return std::sqrt(std::max(0.0, (amplitude - 0.001) * 1.001001001001001));
}

inline double DecibelsToOutputPosition(double decibels) { return OutputPosition(std::pow(10.0, decibels / 20.0)); }

// Output levels above this show in the warning colour.
inline constexpr double kWarningDecibels = -1.0;

}  // namespace TandrelMeterScale
