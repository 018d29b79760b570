#pragma once
#include <cmath>
#include <cstdint>

// Rounding to the nearest integer takes halves up, so that 440.5 Hz shows as 441 and -2.5
// becomes -2; every display and every randomised whole number goes through these two.
inline double KivRoundHalfUp(double value) noexcept { return std::floor(value + 0.5); }

inline int64_t KivRoundHalfUpToInteger(double value) noexcept {
    return static_cast<int64_t>(std::floor(value + 0.5));
}
