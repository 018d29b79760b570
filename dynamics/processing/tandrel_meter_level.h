#pragma once
#include <cmath>

// Levels shown by the editor's meters. A broken sample (NaN, infinite) must not freeze a
// meter for ever, so squares are kept within +100 dB and NaN counts as silence.
inline constexpr double kTandrelLargestMeterSquare = 1e10;

inline double TandrelMeterSquare(float sample) noexcept {
    const double square = static_cast<double>(sample) * sample;
    if (square < kTandrelLargestMeterSquare) return square;
    return square >= kTandrelLargestMeterSquare ? kTandrelLargestMeterSquare : 0.0;
}

// Maps an amplitude onto the meter's root scale: -60 dB shows as 0, 0 dB as 1; quieter
// levels stay at 0.
inline double TandrelMeterPosition(double amplitude) noexcept {
    const double above = (amplitude - 0.001) * 1.001001001001001;
    return above > 0.0 ? std::sqrt(above) : 0.0;
}
