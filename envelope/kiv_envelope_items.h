#pragma once
#include <cstdint>

#include "envelope/kiv_envelope_computer.h"
#include "envelope/kiv_envelope_polynomial.h"

// The plain items, one formula each. KivEnvelopeItemT gives every item its rendering and
// value operations from one inline Evaluate, so rendering a block costs no virtual call
// per sample.
template <typename Derived>
class KivEnvelopeItemT : public KivEnvelopeComputer::Item {
public:
    using Item::Item;

    double Value(double x) const noexcept override { return Self().Evaluate(x); }
    void Values(const double* x, double* out, int32_t n) const noexcept override {
        for (int32_t i = 0; i < n; ++i) out[i] = Self().Evaluate(x[i]);
    }
    void RenderFloat(float* out, double x0, double dx, int32_t n) const noexcept override {
        for (int32_t i = 0; i < n; ++i) out[i] = static_cast<float>(Self().Evaluate(x0 + static_cast<double>(i) * dx));
    }
    void RenderDouble(double* out, double x0, double dx, int32_t n) const noexcept override {
        for (int32_t i = 0; i < n; ++i) out[i] = Self().Evaluate(x0 + static_cast<double>(i) * dx);
    }

private:
    const Derived& Self() const noexcept { return static_cast<const Derived&>(*this); }
};

// f = v: the ends, vertical jumps and flat segments.
class KivEnvelopeComputer::ItemConstant : public KivEnvelopeItemT<ItemConstant> {
public:
    ItemConstant(double endX, double value) noexcept : KivEnvelopeItemT(endX), value_(value) {}
    double Evaluate(double) const noexcept { return value_; }
    double SlopeRight(double) const noexcept override { return 0.0; }
    double SlopeLeft(double) const noexcept override { return 0.0; }

private:
    double value_;
};

// f = a x + b through (x1, y1) and (x2, y2).
class KivEnvelopeComputer::ItemLinear : public KivEnvelopeItemT<ItemLinear> {
public:
    ItemLinear(double x1, double y1, double x2, double y2) noexcept;
    double Evaluate(double x) const noexcept { return a_ * x + b_; }
    double SlopeRight(double) const noexcept override { return a_; }
    double SlopeLeft(double) const noexcept override { return a_; }

private:
    double a_;
    double b_;
};

// A polynomial of the given degree in x; the items below only differ in how they set it.
template <typename Derived, int Degree>
class KivEnvelopePolynomialItemT : public KivEnvelopeItemT<Derived> {
public:
    using Polynomial = KivEnvelopePolynomial<Degree>;
    KivEnvelopePolynomialItemT(double endX, const Polynomial& polynomial) noexcept
        : KivEnvelopeItemT<Derived>(endX), polynomial_(polynomial) {}
    double Evaluate(double x) const noexcept { return polynomial_.Evaluate(x); }
    const Polynomial& GetPolynomial() const noexcept { return polynomial_; }

protected:
    Polynomial polynomial_;
};

// Type 0: y1 + s (x - x1) + q (x - x1)^2 with s = (dy/dx)(1 - k), q = (dy - dx s) / dx^2.
class KivEnvelopeComputer::ItemQuadratic : public KivEnvelopePolynomialItemT<ItemQuadratic, 2> {
public:
    ItemQuadratic(double x1, double y1, double x2, double y2, double curvature) noexcept;
};

// Type 1: y1 + dy g(u), u = (x - x1) / dx, g a fourth-order polynomial set by the curvature.
class KivEnvelopeComputer::ItemFourthOrder : public KivEnvelopePolynomialItemT<ItemFourthOrder, 4> {
public:
    ItemFourthOrder(double x1, double y1, double x2, double y2, double curvature) noexcept;
    static Polynomial Shape(double x1, double y1, double x2, double y2, double curvature) noexcept;
};

// Types 5 and 6 and corners whose tangents do not meet inside: the Hermite cubic through
// both end points with the given end slopes.
class KivEnvelopeComputer::ItemCubic : public KivEnvelopePolynomialItemT<ItemCubic, 3> {
public:
    ItemCubic(double x1, double y1, double slope1, double x2, double y2, double slope2) noexcept;
};

// Type 2: y1 + dy (1 - max(0, 1 - u^e)^(1/e)), e = exp(3k).
class KivEnvelopeComputer::ItemExponencial : public KivEnvelopeItemT<ItemExponencial> {
public:
    ItemExponencial(double x1, double y1, double x2, double y2, double curvature) noexcept;
    double Evaluate(double x) const noexcept;

private:
    double x1_, dx_, y1_, dy_, exponent_, inverseExponent_;
};

// Type 3 and rounded corners: the quadratic Bézier curve from p1 through the control point
// to p2, its parameter found from x.
class KivEnvelopeComputer::ItemBezier : public KivEnvelopeItemT<ItemBezier> {
public:
    // Below this |x1 - 2 cx + x2| the curve's x is linear in its parameter.
    static constexpr double kLinearInX = 1e-10;

    ItemBezier(double x1, double y1, double cx, double cy, double x2, double y2) noexcept;
    double Evaluate(double x) const noexcept { return CurveY(Parameter(x)); }

protected:
    // The curve parameter t in 0..1 at which the curve's x equals x.
    double Parameter(double x) const noexcept;
    double CurveY(double t) const noexcept { return y1_ + t * (by_ + t * ay_); }

    // x(t) = x1 + bx t + ax t^2 and y(t) = y1 + by t + ay t^2.
    double x1_, ax_, bx_, y1_, ay_, by_;
    bool linearInX_;
};

// Type 4: two fourth-order halves meeting at the midpoint, the second with the mirrored
// curvature, so the shape is point-symmetric about the midpoint.
class KivEnvelopeComputer::ItemDouble : public KivEnvelopeItemT<ItemDouble> {
public:
    ItemDouble(double x1, double y1, double x2, double y2, double curvature) noexcept;
    double Evaluate(double x) const noexcept {
        return x < middleX_ ? first_.Evaluate(x) : second_.Evaluate(x);
    }

private:
    double middleX_;
    KivEnvelopePolynomial<4> first_, second_;
};

// Type 7: n stairs, f = y1 + trunc((x - x1) n / dx) dy / n.
class KivEnvelopeComputer::ItemStairs : public KivEnvelopeItemT<ItemStairs> {
public:
    ItemStairs(double x1, double y1, double x2, double y2, int32_t stairs) noexcept;
    double Evaluate(double x) const noexcept;

private:
    double x1_, dx_, y1_, dy_, count_;
};

// Type 8: n pulses, alternating every dx / (2n) between two levels.
class KivEnvelopeComputer::ItemPulses : public KivEnvelopeItemT<ItemPulses> {
public:
    ItemPulses(double x1, double x2, double firstLevel, double secondLevel, int32_t pulses) noexcept;
    double Evaluate(double x) const noexcept;

private:
    double x1_, dx_, halfPeriods_, firstLevel_, secondLevel_;
};
