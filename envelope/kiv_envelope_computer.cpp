#include "envelope/kiv_envelope_computer.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/kiv_processor_features.h"

namespace {

bool ProcessorHasSSE2() {
    static const bool kHasSSE2 = KivPlatform::DetectProcessorFeatures().sse2;
    return kHasSSE2;
}

}  // namespace

KivEnvelopeComputer::KivEnvelopeComputer() : vectorItems_(ProcessorHasSSE2()) {}

KivEnvelopeComputer::~KivEnvelopeComputer() { DestroyItems(); }

void KivEnvelopeComputer::DestroyItems() noexcept {
    for (Item* item : items_) delete item;
    items_.Clear();
    index_ = 0;
    lastX_ = -kEndless;
}

void KivEnvelopeComputer::Render(float* out, double x0, double dx, int32_t n) noexcept { RenderRuns(out, x0, dx, n); }

void KivEnvelopeComputer::Render(double* out, double x0, double dx, int32_t n) noexcept { RenderRuns(out, x0, dx, n); }

// The located item serves start <= x < end; the first and the last item also everything
// beyond, which the search lands on anyway.
int32_t KivEnvelopeComputer::RunOnItem(const double* x, int32_t n) const noexcept {
    const double start = index_ > 0 ? items_[index_ - 1]->GetEndX() : -kEndless;
    const double end = index_ + 1 < items_.Count() ? items_[index_]->GetEndX() : kEndless * 2.0;
    int32_t next = 1;
#if defined(__SSE2__)
    // Four at a time while all four stay (one branch for four; NaN fails the comparisons as
    // it does below), then one by one.
    const __m128d low = _mm_set1_pd(start), high = _mm_set1_pd(end);
    while (next + 4 <= n) {
        const __m128d a = _mm_loadu_pd(x + next), b = _mm_loadu_pd(x + next + 2);
        const __m128d inside = _mm_and_pd(_mm_and_pd(_mm_cmpge_pd(a, low), _mm_cmplt_pd(a, high)),
                                          _mm_and_pd(_mm_cmpge_pd(b, low), _mm_cmplt_pd(b, high)));
        if (_mm_movemask_pd(inside) != 3) break;
        next += 4;
    }
#endif
    while (next < n && x[next] >= start && x[next] < end) ++next;
    return next;
}

void KivEnvelopeComputer::Values(const double* x, double* out, int32_t n) noexcept {
    int32_t first = 0;
    while (first < n) {
        Locate(x[first]);
        const int32_t run = RunOnItem(x + first, n - first);
        // The search would end each sample of the run where it started; only the last x counts.
        lastX_ = x[first + run - 1];
        items_[index_]->Values(x + first, out + first, run);
        first += run;
    }
}

namespace {

void RenderItem(const KivEnvelopeComputer::Item& item, float* out, double x0, double dx, int32_t n) {
    item.RenderFloat(out, x0, dx, n);
}

void RenderItem(const KivEnvelopeComputer::Item& item, double* out, double x0, double dx, int32_t n) {
    item.RenderDouble(out, x0, dx, n);
}

}  // namespace

template <typename Sample>
void KivEnvelopeComputer::RenderRuns(Sample* out, double x0, double dx, int32_t n) noexcept {
    int32_t first = 0;
    while (first < n) {
        const double x = x0 + static_cast<double>(first) * dx;
        Locate(x);
        // The item is used for start <= x < end; the run ends at the first sample outside.
        const double start = index_ > 0 ? items_[index_ - 1]->GetEndX() : -kEndless;
        const Item& item = *items_[index_];
        const double end = index_ + 1 < items_.Count() ? item.GetEndX() : kEndless * 2.0;
        int32_t next = first + 1;
        while (next < n) {
            const double xNext = x0 + static_cast<double>(next) * dx;
            if (xNext < start || xNext >= end) break;
            ++next;
        }
        RenderItem(item, out + first, x, dx, next - first);
        if (next - 1 > first) Locate(x0 + static_cast<double>(next - 1) * dx);
        first = next;
    }
}
