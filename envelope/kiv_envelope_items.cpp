#include "envelope/kiv_envelope_items.h"

#include <algorithm>
#include <cmath>

#include "envelope/kiv_envelope_math.h"

using Computer = KivEnvelopeComputer;

namespace {

// The fourth-order shape g(u) on 0..1, g(0) = 0 and g(1) = 1, as coefficients of u^k.
// For k <= 0 it is the point mirror of the k > 0 form with -k.
void FourthOrderShape(double k, double (&g)[5]) {
    if (k > 0.0) {
        g[0] = 0.0, g[1] = 1.0 - k, g[2] = 0.0, g[3] = 0.0, g[4] = k;
    } else {
        g[0] = 0.0, g[1] = 1.0 - 3.0 * k, g[2] = 6.0 * k, g[3] = -4.0 * k, g[4] = k;
    }
}

}  // namespace

Computer::ItemLinear::ItemLinear(double x1, double y1, double x2, double y2) noexcept
    : KivEnvelopeItemT(x2), a_((y2 - y1) / (x2 - x1)), b_(y1 - a_ * x1) {}

namespace {

KivEnvelopePolynomial<2> QuadraticShape(double x1, double y1, double x2, double y2, double k) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double s = (dy / dx) * (1.0 - k);
    const double q = (dy - dx * s) / (dx * dx);
    const double local[3] = {y1, s, q};
    return KivEnvelopePolynomial<2>::FromLocal(local, x1);
}

KivEnvelopePolynomial<3> HermiteShape(double x1, double y1, double m1, double x2, double y2, double m2) {
    const double h = x2 - x1;
    const double secant = (y2 - y1) / h;
    const double local[4] = {y1, m1, (3.0 * secant - 2.0 * m1 - m2) / h, (m1 + m2 - 2.0 * secant) / (h * h)};
    return KivEnvelopePolynomial<3>::FromLocal(local, x1);
}

}  // namespace

Computer::ItemQuadratic::ItemQuadratic(double x1, double y1, double x2, double y2, double curvature) noexcept
    : KivEnvelopePolynomialItemT(x2, QuadraticShape(x1, y1, x2, y2, curvature)) {}

Computer::ItemFourthOrder::Polynomial Computer::ItemFourthOrder::Shape(double x1, double y1, double x2, double y2,
                                                                       double curvature) noexcept {
    double g[5];
    FourthOrderShape(curvature, g);
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double local[5] = {y1, 0.0, 0.0, 0.0, 0.0};
    double scale = dy;
    for (int k = 1; k <= 4; ++k) {
        scale /= dx;
        local[k] = g[k] * scale;
    }
    return Polynomial::FromLocal(local, x1);
}

Computer::ItemFourthOrder::ItemFourthOrder(double x1, double y1, double x2, double y2, double curvature) noexcept
    : KivEnvelopePolynomialItemT(x2, Shape(x1, y1, x2, y2, curvature)) {}

Computer::ItemCubic::ItemCubic(double x1, double y1, double slope1, double x2, double y2, double slope2) noexcept
    : KivEnvelopePolynomialItemT(x2, HermiteShape(x1, y1, slope1, x2, y2, slope2)) {}

Computer::ItemExponencial::ItemExponencial(double x1, double y1, double x2, double y2, double curvature) noexcept
    : KivEnvelopeItemT(x2),
      x1_(x1),
      dx_(x2 - x1),
      y1_(y1),
      dy_(y2 - y1),
      exponent_(KivEnvelopeMath::Exp(3.0 * curvature)),
      inverseExponent_(1.0 / exponent_) {}

double Computer::ItemExponencial::Evaluate(double x) const noexcept {
    // Outside its own range the formula is held at its ends, so that slopes taken just
    // beside the segment stay finite.
    const double u = std::clamp((x - x1_) / dx_, 0.0, 1.0);
    const double rest = std::max(0.0, 1.0 - KivEnvelopeMath::Pow(u, exponent_));
    return y1_ + dy_ * (1.0 - KivEnvelopeMath::Pow(rest, inverseExponent_));
}

Computer::ItemBezier::ItemBezier(double x1, double y1, double cx, double cy, double x2, double y2) noexcept
    : KivEnvelopeItemT(x2),
      x1_(x1),
      ax_(x1 - 2.0 * cx + x2),
      bx_(2.0 * (cx - x1)),
      y1_(y1),
      ay_(y1 - 2.0 * cy + y2),
      by_(2.0 * (cy - y1)),
      linearInX_(std::fabs(x1 - 2.0 * cx + x2) < kLinearInX) {}

double Computer::ItemBezier::Parameter(double x) const noexcept {
    // Written with the comparisons the packed variant uses (maxpd, minpd), so both agree
    // to the bit, signed zeros included.
    const double offset = x - x1_;
    double t;
    if (linearInX_) {
        t = offset / bx_;
    } else {
        // The root of ax t^2 + bx t - offset in 0..1, written as 2 offset / (bx + sqrt(..))
        // so that a nearly straight curve (small ax) loses no digits to cancellation.
        const double discriminant = bx_ * bx_ + 4.0 * ax_ * offset;
        const double root = std::sqrt(discriminant > 0.0 ? discriminant : 0.0);
        const double denominator = bx_ + root;
        t = denominator > 0.0 ? (2.0 * offset) / denominator : 0.0;
    }
    t = t > 0.0 ? t : 0.0;
    return t < 1.0 ? t : 1.0;
}

Computer::ItemDouble::ItemDouble(double x1, double y1, double x2, double y2, double curvature) noexcept
    : KivEnvelopeItemT(x2),
      middleX_((x1 + x2) * 0.5),
      first_(ItemFourthOrder::Shape(x1, y1, middleX_, (y1 + y2) * 0.5, curvature)),
      second_(ItemFourthOrder::Shape(middleX_, (y1 + y2) * 0.5, x2, y2, -curvature)) {}

Computer::ItemStairs::ItemStairs(double x1, double y1, double x2, double y2, int32_t stairs) noexcept
    : KivEnvelopeItemT(x2), x1_(x1), dx_(x2 - x1), y1_(y1), dy_(y2 - y1), count_(stairs) {}

double Computer::ItemStairs::Evaluate(double x) const noexcept {
    return y1_ + std::trunc((x - x1_) * count_ / dx_) * dy_ / count_;
}

Computer::ItemPulses::ItemPulses(double x1, double x2, double firstLevel, double secondLevel, int32_t pulses) noexcept
    : KivEnvelopeItemT(x2),
      x1_(x1),
      dx_(x2 - x1),
      halfPeriods_(2.0 * pulses),
      firstLevel_(firstLevel),
      secondLevel_(secondLevel) {}

double Computer::ItemPulses::Evaluate(double x) const noexcept {
    const double half = std::trunc((x - x1_) * halfPeriods_ / dx_);
    const bool odd = half - 2.0 * std::floor(half * 0.5) != 0.0;
    return odd ? secondLevel_ : firstLevel_;
}
