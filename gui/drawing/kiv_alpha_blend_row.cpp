#include "gui/drawing/kiv_alpha_blend_row.h"

#include "platform/kiv_processor_features.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace KivAlphaBlendRow {

void Scalar(KivColor colour, uint32_t* row, int32_t count) noexcept {
    const uint32_t a = colour.a, inverse = 255 - a;
    const uint32_t blue = colour.b * a, green = colour.g * a, red = colour.r * a;
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t d = row[i];
        const uint32_t b = (blue + (d & 0xFF) * inverse) >> 8;
        const uint32_t g = (green + ((d >> 8) & 0xFF) * inverse) >> 8;
        const uint32_t r = (red + ((d >> 16) & 0xFF) * inverse) >> 8;
        row[i] = (d & 0xFF000000u) | r << 16 | g << 8 | b;
    }
}

#if defined(__SSE2__)
void Vector(KivColor colour, uint32_t* row, int32_t count) noexcept {
    // Four pixels per step in 16-bit lanes: c * a + d * (255 - a) <= 255 * 255 fits unsigned.
    const int16_t a = colour.a, inverse = static_cast<int16_t>(255 - a);
    const __m128i weighted = _mm_setr_epi16(static_cast<int16_t>(colour.b * a), static_cast<int16_t>(colour.g * a),
                                            static_cast<int16_t>(colour.r * a), 0,
                                            static_cast<int16_t>(colour.b * a), static_cast<int16_t>(colour.g * a),
                                            static_cast<int16_t>(colour.r * a), 0);
    // The alpha lane keeps its destination value: factor 256 and a shift by 8 give it back.
    const __m128i factor = _mm_setr_epi16(inverse, inverse, inverse, 256, inverse, inverse, inverse, 256);
    const __m128i zero = _mm_setzero_si128();
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        __m128i low = _mm_unpacklo_epi8(d, zero);
        __m128i high = _mm_unpackhi_epi8(d, zero);
        low = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(low, factor), weighted), 8);
        high = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(high, factor), weighted), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), _mm_packus_epi16(low, high));
    }
    Scalar(colour, row + i, count - i);
}
#else
void Vector(KivColor colour, uint32_t* row, int32_t count) noexcept { Scalar(colour, row, count); }
#endif

void Best(KivColor colour, uint32_t* row, int32_t count) noexcept {
    static const bool hasSse2 = KivPlatform::DetectProcessorFeatures().sse2;
    if (hasSse2) {
        Vector(colour, row, count);
    } else {
        Scalar(colour, row, count);
    }
}

}  // namespace KivAlphaBlendRow
