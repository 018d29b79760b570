#pragma once
// The three domains in which the "Mode (General parameters)" setting interpolates the transfer
// shape between its corners, written out on their own for the tests that work expected curves
// by hand: a straight line in linear, squared or logarithmic amplitude.
#include <algorithm>
#include <cmath>

namespace tandrel_mini_test {

enum Mode { kLinear, kSquared, kLogarithmic };

// The setting's display texts, in the order of `Mode`.
inline const char* const kModeNames[] = {"Linear", "Squared", "Logarithmic"};

// Amplitude `v` as the mode's domain measures it, and back.
inline double ToDomain(Mode mode, double v) {
    switch (mode) {
    case kLinear: return v;
    case kSquared: return std::sqrt(v);
    case kLogarithmic: return std::log10(std::max(v, 1e-30));
    }
    return v;
}

inline double FromDomain(Mode mode, double v) {
    switch (mode) {
    case kLinear: return v;
    case kSquared: return v * v;
    case kLogarithmic: return std::pow(10.0, v);
    }
    return v;
}

}  // namespace tandrel_mini_test
