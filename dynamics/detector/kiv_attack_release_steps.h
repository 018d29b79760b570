#pragma once
#include <algorithm>
#include <cmath>

#include "dynamics/detector/kiv_follower_shape.h"

// One step of the envelope e towards the detector value x with the smoothing coefficient k
// (0 jumps at once, near 1 moves slowly). Each shape is a type so that the follower's sample
// loop is compiled once per attack/release pair with the steps inlined. `shape` is used by
// the custom steps only.
namespace KivAttackReleaseSteps {

// Geometric blend e^(1-m) x^m, the common tail of the logarithmic family.
inline double Blend(double e, double x, double m) noexcept {
    return std::exp(std::log(e) * (1.0 - m) + std::log(x) * m);
}

struct Linear {
    static double Step(double e, double x, double k, KivFollowerShape*) noexcept { return (e - x) * k + x; }
};
struct Logarithmic {
    static double Step(double e, double x, double k, KivFollowerShape*) noexcept {
        return std::exp(std::log(x) * (1.0 - k) + std::log(e) * k);
    }
};
struct Power {
    static double Step(double e, double x, double k, KivFollowerShape*) noexcept {
        return std::sqrt((e * e - x * x) * k + x * x);
    }
};
struct Root {
    static double Step(double e, double x, double k, KivFollowerShape*) noexcept {
        const double root = (std::sqrt(e) - std::sqrt(x)) * k + std::sqrt(x);
        return root * root;
    }
};
struct AdaptiveUp {
    static double Step(double e, double x, double k, KivFollowerShape*) noexcept {
        return Blend(e, x, std::min(1.0, (x - e + 0.9) * (1.0 - k)));
    }
};
struct AdaptiveDown {
    static double Step(double e, double x, double k, KivFollowerShape*) noexcept {
        return Blend(e, x, std::min(1.0, (e - x + 0.9) * (1.0 - k)));
    }
};
struct ExtremeUp {
    static double Step(double e, double x, double k, KivFollowerShape*) noexcept {
        return Blend(e, x, std::min(1.0, ((x - e) * 4.0 + 0.9) * (1.0 - k)));
    }
};
struct ExtremeDown {
    static double Step(double e, double x, double k, KivFollowerShape*) noexcept {
        const double q = std::max(0.9, (e - x) * 2.1 + 0.7);
        return Blend(e, x, std::min(1.0, q * q * (1.0 - k)));
    }
};

// The custom fraction: the shape's value at the distance, squared, scaled by 1 - k.
inline double CustomFraction(double distance, double k, KivFollowerShape* shape) noexcept {
    const double v = shape->Value(distance);
    return std::min(1.0, (v * v + 1e-10) * (1.0 - k));
}
template <bool kRising>
struct Custom {
    static double Step(double e, double x, double k, KivFollowerShape* shape) noexcept {
        return e + (x - e) * CustomFraction(kRising ? x - e : e - x, k, shape);
    }
};
template <bool kRising>
struct CustomLogarithmic {
    static double Step(double e, double x, double k, KivFollowerShape* shape) noexcept {
        return Blend(e, x, CustomFraction(kRising ? x - e : e - x, k, shape));
    }
};

}  // namespace KivAttackReleaseSteps
