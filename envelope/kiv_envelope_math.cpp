#include "envelope/kiv_envelope_math.h"

#include <cmath>
#include <limits>

namespace {

// ln 2 split so that k * kLn2High is exact for the k that occur (|k| < 1100).
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kInverseLn2 = 1.44269504088896338700e+00;
constexpr double kSqrtHalf = 0.70710678118654752440;

// exp(r) for |r| <= ln2 / 2 by its Taylor series, summed from the small end.
double ExpReduced(double r) {
    constexpr int kTerms = 14;
    double sum = 1.0;
    for (int n = kTerms; n >= 1; --n) sum = 1.0 + sum * r / n;
    return sum;
}

// ln(m) for m in [sqrt(1/2), sqrt(2)): 2 atanh(s) with s = (m - 1) / (m + 1), |s| < 0.172.
double LogReduced(double m) {
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    constexpr int kLastOddPower = 27;
    double sum = 1.0 / kLastOddPower;
    for (int k = kLastOddPower - 2; k >= 1; k -= 2) sum = 1.0 / k + sum * s2;
    return 2.0 * s * sum;
}

}  // namespace

namespace KivEnvelopeMath {

double Exp(double x) noexcept {
    if (x != x) return x;
    if (x > 709.78) return std::numeric_limits<double>::infinity();
    if (x < -745.2) return 0.0;
    const double k = std::floor(x * kInverseLn2 + 0.5);
    const double r = (x - k * kLn2High) - k * kLn2Low;
    return std::ldexp(ExpReduced(r), static_cast<int>(k));
}

double Log(double x) noexcept {
    if (x != x || x < 0.0) return std::numeric_limits<double>::quiet_NaN();
    if (x == 0.0) return -std::numeric_limits<double>::infinity();
    if (x == std::numeric_limits<double>::infinity()) return x;
    int exponent = 0;
    double m = std::frexp(x, &exponent);  // m in [0.5, 1)
    if (m < kSqrtHalf) {
        m *= 2.0;
        --exponent;
    }
    const double e = exponent;
    return (e * kLn2High + LogReduced(m)) + e * kLn2Low;
}

double Pow(double base, double exponent) noexcept {
    if (base == 1.0 || exponent == 0.0) return 1.0;
    if (base == 0.0) return exponent > 0.0 ? 0.0 : std::numeric_limits<double>::infinity();
    return Exp(exponent * Log(base));
}

}  // namespace KivEnvelopeMath
