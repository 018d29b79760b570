#pragma once
#include <cmath>
#include <cstdint>
#include <numbers>

// The weights of a cross-fade, at step `position` of `length` (0: all the old side, `length`:
// all the new), both monotonic, smooth at either end.
//
// Coherent sides (the same audio at the same time through two paths: bypass's dry and
// processed signals, two gain curves on one delayed signal) take weights summing to 1: sin^2
// for the new side, 1 - sin^2 for the old, so a fade between equal signals changes nothing.
// Uncorrelated sides (the same audio at two different delays) take powers summing to 1: sin
// and cos, so programme material keeps its loudness through the fade.
inline double KivCoherentFadeWeight(int32_t position, int32_t length) noexcept {
    const double s = std::sin(0.5 * std::numbers::pi * static_cast<double>(position) / length);
    return s * s;
}

inline double KivFadeAngle(double position, int32_t length) noexcept {
    return 0.5 * std::numbers::pi * position / length;
}
