#include "envelope/kiv_envelope_math.h"

#include <cmath>
#include <limits>

namespace {

// ln 2 split so that k * kLn2High is exact for the k that occur (|k| < 1100).
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kInverseLn2 = 1.44269504088896338700e+00;
constexpr double kSqrtHalf = 0.70710678118654752440;

// 1/k! for k = 0 .. 14: the Taylor series of exp, enough for |r| <= ln2 / 2.
constexpr int kExpTerms = 15;
constexpr double kInverseFactorials[kExpTerms] = {
    1.0, 1.0, 1.0 / 2, 1.0 / 6, 1.0 / 24, 1.0 / 120, 1.0 / 720, 1.0 / 5040, 1.0 / 40320, 1.0 / 362880,
    1.0 / 3628800, 1.0 / 39916800, 1.0 / 479001600, 1.0 / 6227020800.0, 1.0 / 87178291200.0};

// exp(r) for |r| <= ln2 / 2, by Horner's rule from the small end.
double ExpReduced(double r) {
    double sum = kInverseFactorials[kExpTerms - 1];
    for (int k = kExpTerms - 2; k >= 0; --k) sum = sum * r + kInverseFactorials[k];
    return sum;
}

// 1/(2j + 1) for j = 0 .. 13: the series of atanh.
constexpr int kLogTerms = 14;
constexpr double kInverseOdd[kLogTerms] = {1.0,      1.0 / 3,  1.0 / 5,  1.0 / 7,  1.0 / 9,  1.0 / 11, 1.0 / 13,
                                           1.0 / 15, 1.0 / 17, 1.0 / 19, 1.0 / 21, 1.0 / 23, 1.0 / 25, 1.0 / 27};

// ln(m) for m in [sqrt(1/2), sqrt(2)): 2 atanh(s) with s = (m - 1) / (m + 1), |s| < 0.172.
double LogReduced(double m) {
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double sum = kInverseOdd[kLogTerms - 1];
    for (int j = kLogTerms - 2; j >= 0; --j) sum = sum * s2 + kInverseOdd[j];
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
