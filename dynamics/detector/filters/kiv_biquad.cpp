#include "dynamics/detector/filters/kiv_biquad.h"

#include <complex>

KivBiquadResponse KivBiquadResponseAt(const KivBiquadCoefficients& c, double omega) noexcept {
    const std::complex<double> z1 = std::polar(1.0, -omega);
    const std::complex<double> z2 = z1 * z1;
    const std::complex<double> h = (c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2);
    return {std::abs(h), std::arg(h)};
}
