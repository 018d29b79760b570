#pragma once
#include <cstdint>

// The coefficients of one second-order section, normalised so that a0 = 1:
// y = b0 x + b1 x[-1] + b2 x[-2] - a1 y[-1] - a2 y[-2].
struct KivBiquadCoefficients {
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
};

// The memory of one section in transposed direct form II, kept in double precision so that
// sections tuned far below the sample rate (a 20 Hz high-pass at 192 kHz) stay accurate.
struct KivBiquadState {
    double s1 = 0.0, s2 = 0.0;

    void Clear() noexcept { s1 = s2 = 0.0; }

    double Step(const KivBiquadCoefficients& c, double x) noexcept {
        const double y = c.b0 * x + s1;
        s1 = c.b1 * x - c.a1 * y + s2;
        s2 = c.b2 * x - c.a2 * y;
        return y;
    }
};

// Magnitude and phase of a section at a normalised angular frequency (radians per sample);
// designs and tests read responses through it.
struct KivBiquadResponse {
    double magnitude;
    double phase;
};
KivBiquadResponse KivBiquadResponseAt(const KivBiquadCoefficients& c, double omega) noexcept;
