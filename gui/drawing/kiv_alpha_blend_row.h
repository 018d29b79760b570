#pragma once
#include <cstdint>

#include "gui/drawing/kiv_color.h"

// The "Alphablend" rule on a row of pixels with one colour: each of blue, green and red
// becomes (c * a + d * (255 - a)) >> 8, alpha stays. The vector loop gives the same bytes as
// the scalar one.
namespace KivAlphaBlendRow {
void Scalar(KivColor colour, uint32_t* row, int32_t count) noexcept;
// Falls back to Scalar where the build has no SSE2.
void Vector(KivColor colour, uint32_t* row, int32_t count) noexcept;
// Vector when the processor reports SSE2 (read once), else Scalar.
void Best(KivColor colour, uint32_t* row, int32_t count) noexcept;
}  // namespace KivAlphaBlendRow
