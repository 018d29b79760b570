#pragma once
// The kernels behind KivVectorExpLog, compiled once for every instruction set the library
// dispatches to: each file that includes this header, after defining KIV_VECTOR_BYTES, gets
// its own copy (internal linkage) built for that file's target. All of them perform the same IEEE operations in the same
// order, so every copy gives the same bits.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

// The vector values below never cross a call boundary (every function taking one is inlined),
// so the note about how they would be passed in an SSE2 build does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {  // NOLINT: one private copy per instruction set

// GCC's vector types of the including file's register width (KIV_VECTOR_BYTES: 16 for SSE2,
// 32 for AVX2): every operation works on all lanes, comparisons give lane masks.
typedef double VectorDouble __attribute__((vector_size(KIV_VECTOR_BYTES)));
typedef int64_t VectorInt __attribute__((vector_size(KIV_VECTOR_BYTES)));

constexpr int32_t kLanes = KIV_VECTOR_BYTES / 8;
// Sixteen registers per loop turn: sixteen independent chains through each polynomial keep
// the multipliers busy while each chain waits for its previous step (the values that wait
// for the end of the polynomial go to the stack and back, off the chains). The rest of a
// block runs four registers per turn, then one. How lanes are grouped never changes a
// lane's value.
constexpr int32_t kRegistersPerTurn = 16;
constexpr int32_t kRegistersPerShortTurn = 4;
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

KIV_VECTOR_INLINE VectorDouble Splat(double value) noexcept { return value - VectorDouble{}; }
KIV_VECTOR_INLINE VectorInt SplatInt(int64_t value) noexcept { return value - VectorInt{}; }

// Lane by lane `mask ? a : b`, written with bit operations so that the compiler keeps the
// lanes together (the plain conditional tempts it into one scalar maximum per lane).
KIV_VECTOR_INLINE VectorDouble Select(const VectorInt& mask, const VectorDouble& a, const VectorDouble& b) noexcept {
    return std::bit_cast<VectorDouble>((mask & std::bit_cast<VectorInt>(a)) | (~mask & std::bit_cast<VectorInt>(b)));
}

KIV_VECTOR_INLINE VectorDouble Clamp(const VectorDouble& value, double lowest, double highest) noexcept {
    const VectorDouble v = Select(!(value >= Splat(lowest)), Splat(lowest), value);  // also replaces NaN
    return Select(v > Splat(highest), Splat(highest), v);
}

// ln(1 + f) for 1 + f in [sqrt(1/2), sqrt(2)): with s = f / (2 + f), ln(1 + f) = 2 atanh(s)
// = f - f^2/2 + s (f^2/2 + R) where R = sum over n >= 1 of 2 s^(2n) / (2n + 1); eleven terms
// leave the truncation below 1e-18 of the result.
KIV_VECTOR_INLINE VectorDouble LogOnePlus(const VectorDouble& f) noexcept {
    const VectorDouble s = f / (Splat(2.0) + f);
    const VectorDouble z = s * s;
    VectorDouble r = Splat(kAtanhTerms[0]);
#pragma GCC unroll 16
    for (size_t n = 1; n < kAtanhTerms.size(); ++n) r = r * z + Splat(kAtanhTerms[n]);
    r = r * z;
    const VectorDouble halfSquare = Splat(0.5) * f * f;
    return f - (halfSquare - s * (halfSquare + r));
}

KIV_VECTOR_INLINE VectorDouble Log(const VectorDouble& value) noexcept {
    const VectorDouble x = Clamp(value, 1e-300, 1e300);
    const VectorInt bits = std::bit_cast<VectorInt>(x);
    const VectorInt biasedExponent = (bits >> 52) & SplatInt(0x7FF);
    const VectorInt mantissaBits = (bits & SplatInt(kMantissaMask)) | SplatInt(kOneBits);
    VectorDouble mantissa = std::bit_cast<VectorDouble>(mantissaBits);
    const VectorInt exponentBits = biasedExponent | SplatInt(kTwoTo52Bits);
    VectorDouble exponent = std::bit_cast<VectorDouble>(exponentBits) - Splat(kTwoTo52 + kExponentBias);
    const VectorInt high = mantissa > Splat(kSqrt2);
    mantissa = Select(high, mantissa * Splat(0.5), mantissa);
    exponent = Select(high, exponent + Splat(1.0), exponent);
    const VectorDouble logMantissa = LogOnePlus(mantissa - Splat(1.0));
    return exponent * Splat(kLn2High) + (logMantissa + exponent * Splat(kLn2Low));
}

// e^x = 2^n e^r with n = round(x / ln 2) and |r| <= ln 2 / 2; the Taylor series of e^r to
// r^13 / 13! is exact to 5e-18 there.
KIV_VECTOR_INLINE VectorDouble Exp(const VectorDouble& value) noexcept {
    const VectorDouble x = Clamp(value, -708.0, 709.0);
    const VectorDouble shifted = x * Splat(kLog2E) + Splat(kRoundingShift);
    const VectorDouble n = shifted - Splat(kRoundingShift);
    const VectorDouble r = (x - n * Splat(kLn2High)) - n * Splat(kLn2Low);
    VectorDouble p = Splat(kExpTerms[0]);
#pragma GCC unroll 16
    for (size_t k = 1; k < kExpTerms.size(); ++k) p = p * r + Splat(kExpTerms[k]);
    const VectorInt scaleBits = (std::bit_cast<VectorInt>(shifted) + SplatInt(kExponentBias)) << 52;
    return p * std::bit_cast<VectorDouble>(scaleBits);
}

// `registers` vectors of in from i on, through kFunction, into out.
template <VectorDouble (*kFunction)(const VectorDouble&), int32_t kRegisters>
KIV_VECTOR_INLINE void Turn(const double* in, double* out) noexcept {
    VectorDouble v[kRegisters];
    std::memcpy(v, in, sizeof(v));
    for (VectorDouble& lane : v) lane = kFunction(lane);
    std::memcpy(out, v, sizeof(v));
}

template <VectorDouble (*kFunction)(const VectorDouble&)>
void Map(const double* in, double* out, int32_t count) noexcept {
    constexpr int32_t kTurn = kLanes * kRegistersPerTurn;
    constexpr int32_t kShortTurn = kLanes * kRegistersPerShortTurn;
    int32_t i = 0;
    for (; i + kTurn <= count; i += kTurn) Turn<kFunction, kRegistersPerTurn>(in + i, out + i);
    for (; i + kShortTurn <= count; i += kShortTurn) Turn<kFunction, kRegistersPerShortTurn>(in + i, out + i);
    for (; i < count; i += kLanes) {  // the tail, padded with a harmless 1
        const int32_t n = std::min(kLanes, count - i);
        VectorDouble v = Splat(1.0);
        std::memcpy(&v, in + i, sizeof(double) * static_cast<size_t>(n));
        v = kFunction(v);
        std::memcpy(out + i, &v, sizeof(double) * static_cast<size_t>(n));
    }
}

}  // namespace
