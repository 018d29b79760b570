#include "dynamics/detector/kiv_vector_exp_log.h"

#include <array>
#include <bit>
#include <cstring>

// The eight-lane values below never cross a call boundary (every function taking one is
// inlined), so the note about how they would be passed without AVX-512 does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

// GCC's vector types: every operation works on all lanes, comparisons give lane masks. Eight
// lanes are four SSE2 registers, four independent chains through each polynomial, which
// keeps the multipliers busy while one chain waits for its previous step.
typedef double Double8 __attribute__((vector_size(64)));
typedef int64_t Int8 __attribute__((vector_size(64)));

constexpr int32_t kLanes = 8;
#define KIV_VECTOR_INLINE inline __attribute__((always_inline))

// ln 2 split so that n * kLn2High is exact for every exponent n a double can have.
constexpr double kLn2High = 0.6931467056274414;
constexpr double kLn2Low = 4.7493250390316726e-07;
constexpr double kLog2E = 1.4426950408889634;
constexpr double kSqrt2 = 1.4142135623730951;
// Adding 1.5 * 2^52 rounds a double of magnitude below 2^51 to an integer and leaves that
// integer in the low bits of the mantissa.
constexpr double kRoundingShift = 6755399441055744.0;
constexpr int64_t kExponentBias = 1023;
constexpr int64_t kMantissaMask = 0x000FFFFFFFFFFFFFll;
constexpr int64_t kOneBits = 0x3FF0000000000000ll;
// 2^52 as a double; or-ing a small integer into its mantissa gives 2^52 + that integer.
constexpr int64_t kTwoTo52Bits = 0x4330000000000000ll;
constexpr double kTwoTo52 = 4503599627370496.0;

// 2 / (2n + 1) for n = 11 down to 1, the atanh series' coefficients, highest first.
constexpr std::array<double, 11> kAtanhTerms = [] {
    std::array<double, 11> terms{};
    for (int n = 11; n >= 1; --n) terms[static_cast<size_t>(11 - n)] = 2.0 / (2 * n + 1);
    return terms;
}();

// 1 / k! for k = 13 down to 0, highest first.
constexpr std::array<double, 14> kExpTerms = [] {
    std::array<double, 14> terms{};
    double factorial = 1.0;
    for (int k = 0; k <= 13; ++k) {
        if (k > 0) factorial *= k;
        terms[static_cast<size_t>(13 - k)] = 1.0 / factorial;
    }
    return terms;
}();

KIV_VECTOR_INLINE Double8 Splat(double value) noexcept { return value - Double8{}; }
KIV_VECTOR_INLINE Int8 SplatInt(int64_t value) noexcept { return value - Int8{}; }

KIV_VECTOR_INLINE Double8 Clamp(const Double8& value, double lowest, double highest) noexcept {
    const Double8 v = value < Splat(lowest) ? Splat(lowest) : value;  // also replaces NaN
    return v > Splat(highest) ? Splat(highest) : v;
}

// ln(1 + f) for 1 + f in [sqrt(1/2), sqrt(2)): with s = f / (2 + f), ln(1 + f) = 2 atanh(s)
// = f - f^2/2 + s (f^2/2 + R) where R = sum over n >= 1 of 2 s^(2n) / (2n + 1); eleven terms
// leave the truncation below 1e-18 of the result.
KIV_VECTOR_INLINE Double8 LogOnePlus(const Double8& f) noexcept {
    const Double8 s = f / (Splat(2.0) + f);
    const Double8 z = s * s;
    Double8 r = Splat(kAtanhTerms[0]);
#pragma GCC unroll 16
    for (size_t n = 1; n < kAtanhTerms.size(); ++n) r = r * z + Splat(kAtanhTerms[n]);
    r = r * z;
    const Double8 halfSquare = Splat(0.5) * f * f;
    return f - (halfSquare - s * (halfSquare + r));
}

KIV_VECTOR_INLINE Double8 Log(const Double8& value) noexcept {
    const Double8 x = Clamp(value, 1e-300, 1e300);
    const Int8 bits = std::bit_cast<Int8>(x);
    const Int8 biasedExponent = (bits >> 52) & SplatInt(0x7FF);
    const Int8 mantissaBits = (bits & SplatInt(kMantissaMask)) | SplatInt(kOneBits);
    Double8 mantissa = std::bit_cast<Double8>(mantissaBits);
    const Int8 exponentBits = biasedExponent | SplatInt(kTwoTo52Bits);
    Double8 exponent = std::bit_cast<Double8>(exponentBits) - Splat(kTwoTo52 + kExponentBias);
    const auto high = mantissa > Splat(kSqrt2);
    mantissa = high ? mantissa * Splat(0.5) : mantissa;
    exponent = high ? exponent + Splat(1.0) : exponent;
    const Double8 logMantissa = LogOnePlus(mantissa - Splat(1.0));
    return exponent * Splat(kLn2High) + (logMantissa + exponent * Splat(kLn2Low));
}

// e^x = 2^n e^r with n = round(x / ln 2) and |r| <= ln 2 / 2; the Taylor series of e^r to
// r^13 / 13! is exact to 5e-18 there.
KIV_VECTOR_INLINE Double8 Exp(const Double8& value) noexcept {
    const Double8 x = Clamp(value, -708.0, 709.0);
    const Double8 shifted = x * Splat(kLog2E) + Splat(kRoundingShift);
    const Double8 n = shifted - Splat(kRoundingShift);
    const Double8 r = (x - n * Splat(kLn2High)) - n * Splat(kLn2Low);
    Double8 p = Splat(kExpTerms[0]);
#pragma GCC unroll 16
    for (size_t k = 1; k < kExpTerms.size(); ++k) p = p * r + Splat(kExpTerms[k]);
    const Int8 scaleBits = (std::bit_cast<Int8>(shifted) + SplatInt(kExponentBias)) << 52;
    return p * std::bit_cast<Double8>(scaleBits);
}

template <Double8 (*kFunction)(const Double8&)>
void Map(const double* in, double* out, int32_t count) noexcept {
    int32_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        Double8 v;
        std::memcpy(&v, in + i, sizeof(v));
        v = kFunction(v);
        std::memcpy(out + i, &v, sizeof(v));
    }
    if (i < count) {  // the tail rides in lanes of its own, padded with a harmless 1
        Double8 v = Splat(1.0);
        std::memcpy(&v, in + i, sizeof(double) * static_cast<size_t>(count - i));
        v = kFunction(v);
        std::memcpy(out + i, &v, sizeof(double) * static_cast<size_t>(count - i));
    }
}

}  // namespace

namespace KivVectorExpLog {

void Logarithms(const double* values, double* logarithms, int32_t count) noexcept {
    Map<Log>(values, logarithms, count);
}

void Exponentials(const double* values, double* exponentials, int32_t count) noexcept {
    Map<Exp>(values, exponentials, count);
}

}  // namespace KivVectorExpLog
