#include "envelope/kiv_envelope_items_sse.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using Computer = KivEnvelopeComputer;

#if defined(__SSE2__)

namespace {

// Walks x0 + i dx two samples at a time (i exact in a double, as in the plain loop),
// hands each pair to `pair` and the odd last sample to `single`.
template <typename Pair, typename Single>
void ForPairs(double x0, double dx, int32_t n, Pair pair, Single single) {
    const __m128d start = _mm_set1_pd(x0);
    const __m128d step = _mm_set1_pd(dx);
    const __m128d two = _mm_set1_pd(2.0);
    __m128d index = _mm_set_pd(1.0, 0.0);
    int32_t i = 0;
    for (; i + 2 <= n; i += 2) {
        pair(i, _mm_add_pd(start, _mm_mul_pd(index, step)));
        index = _mm_add_pd(index, two);
    }
    if (i < n) single(i, x0 + static_cast<double>(i) * dx);
}

// The same for x read from an array.
template <typename Pair, typename Single>
void ForPairsAt(const double* x, int32_t n, Pair pair, Single single) {
    int32_t i = 0;
    for (; i + 2 <= n; i += 2) pair(i, _mm_loadu_pd(x + i));
    if (i < n) single(i, x[i]);
}

void StorePair(float* out, __m128d values) {
    _mm_storel_pi(reinterpret_cast<__m64*>(out), _mm_cvtpd_ps(values));
}

void StorePair(double* out, __m128d values) { _mm_storeu_pd(out, values); }

template <int Degree>
__m128d Horner(const KivEnvelopePolynomial<Degree>& polynomial, __m128d x) {
    __m128d sum = _mm_set1_pd(polynomial.c[Degree]);
    for (int k = Degree - 1; k >= 0; --k) sum = _mm_add_pd(_mm_mul_pd(sum, x), _mm_set1_pd(polynomial.c[k]));
    return sum;
}

template <int Degree, typename Sample>
void RenderPolynomial(const KivEnvelopePolynomial<Degree>& polynomial, Sample* out, double x0, double dx, int32_t n) {
    ForPairs(
        x0, dx, n, [&](int32_t i, __m128d x) { StorePair(out + i, Horner(polynomial, x)); },
        [&](int32_t i, double x) { out[i] = static_cast<Sample>(polynomial.Evaluate(x)); });
}

template <int Degree>
void PolynomialValues(const KivEnvelopePolynomial<Degree>& polynomial, const double* x, double* out, int32_t n) {
    ForPairsAt(
        x, n, [&](int32_t i, __m128d pair) { StorePair(out + i, Horner(polynomial, pair)); },
        [&](int32_t i, double single) { out[i] = polynomial.Evaluate(single); });
}

}  // namespace

#define KIV_POLYNOMIAL_SSE_RENDERERS(Class)                                                        \
    void Computer::Class::RenderFloat(float* out, double x0, double dx, int32_t n) const noexcept {  \
        RenderPolynomial(polynomial_, out, x0, dx, n);                                               \
    }                                                                                                \
    void Computer::Class::RenderDouble(double* out, double x0, double dx, int32_t n) const noexcept { \
        RenderPolynomial(polynomial_, out, x0, dx, n);                                               \
    }                                                                                                \
    void Computer::Class::Values(const double* x, double* out, int32_t n) const noexcept {           \
        PolynomialValues(polynomial_, x, out, n);                                                    \
    }

KIV_POLYNOMIAL_SSE_RENDERERS(ItemQuadraticSSE)
KIV_POLYNOMIAL_SSE_RENDERERS(ItemFourthOrderSSE)
KIV_POLYNOMIAL_SSE_RENDERERS(ItemCubicSSE)

// The Bézier evaluation of ItemBezier::Evaluate on two samples.
struct Computer::ItemBezierSSE::Pair {
    __m128d x1, ax4, bx, bxSquared, y1, ay, by;
    bool linearInX;

    __m128d Evaluate(__m128d x) const {
        const __m128d zero = _mm_setzero_pd();
        const __m128d offset = _mm_sub_pd(x, x1);
        __m128d t;
        if (linearInX) {
            t = _mm_div_pd(offset, bx);
        } else {
            const __m128d discriminant = _mm_add_pd(bxSquared, _mm_mul_pd(ax4, offset));
            const __m128d root = _mm_sqrt_pd(_mm_max_pd(discriminant, zero));
            const __m128d denominator = _mm_add_pd(bx, root);
            const __m128d quotient = _mm_div_pd(_mm_add_pd(offset, offset), denominator);
            t = _mm_and_pd(_mm_cmpgt_pd(denominator, zero), quotient);
        }
        t = _mm_min_pd(_mm_max_pd(t, zero), _mm_set1_pd(1.0));
        return _mm_add_pd(y1, _mm_mul_pd(t, _mm_add_pd(by, _mm_mul_pd(t, ay))));
    }
};

void Computer::ItemBezierSSE::RenderFloat(float* out, double x0, double dx, int32_t n) const noexcept {
    const Pair bezier = Packed();
    ForPairs(
        x0, dx, n, [&](int32_t i, __m128d x) { StorePair(out + i, bezier.Evaluate(x)); },
        [&](int32_t i, double x) { out[i] = static_cast<float>(Evaluate(x)); });
}

void Computer::ItemBezierSSE::RenderDouble(double* out, double x0, double dx, int32_t n) const noexcept {
    const Pair bezier = Packed();
    ForPairs(
        x0, dx, n, [&](int32_t i, __m128d x) { StorePair(out + i, bezier.Evaluate(x)); },
        [&](int32_t i, double x) { out[i] = Evaluate(x); });
}

void Computer::ItemBezierSSE::Values(const double* x, double* out, int32_t n) const noexcept {
    const Pair bezier = Packed();
    ForPairsAt(
        x, n, [&](int32_t i, __m128d pair) { StorePair(out + i, bezier.Evaluate(pair)); },
        [&](int32_t i, double single) { out[i] = Evaluate(single); });
}

Computer::ItemBezierSSE::Pair Computer::ItemBezierSSE::Packed() const noexcept {
    return {_mm_set1_pd(x1_), _mm_set1_pd(4.0 * ax_), _mm_set1_pd(bx_), _mm_set1_pd(bx_ * bx_),
            _mm_set1_pd(y1_), _mm_set1_pd(ay_), _mm_set1_pd(by_), linearInX_};
}

#else  // without SSE2 the packed variants render like the plain items

#define KIV_PLAIN_RENDERERS(Class, Base)                                                           \
    void Computer::Class::RenderFloat(float* out, double x0, double dx, int32_t n) const noexcept {  \
        Base::RenderFloat(out, x0, dx, n);                                                           \
    }                                                                                                \
    void Computer::Class::RenderDouble(double* out, double x0, double dx, int32_t n) const noexcept { \
        Base::RenderDouble(out, x0, dx, n);                                                          \
    }                                                                                                \
    void Computer::Class::Values(const double* x, double* out, int32_t n) const noexcept {           \
        Base::Values(x, out, n);                                                                     \
    }

KIV_PLAIN_RENDERERS(ItemQuadraticSSE, ItemQuadratic)
KIV_PLAIN_RENDERERS(ItemFourthOrderSSE, ItemFourthOrder)
KIV_PLAIN_RENDERERS(ItemCubicSSE, ItemCubic)
KIV_PLAIN_RENDERERS(ItemBezierSSE, ItemBezier)

#endif
