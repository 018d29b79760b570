#pragma once
#include <cstdint>

#include "gui/drawing/kiv_color.h"
#include "gui/drawing/kiv_drawing_mode.h"

// The per-pixel arithmetic of the drawing modes. Every drawing operation ends here, so an
// outline, a glyph or a copied bitmap combines with the destination exactly as an area fill
// of the same colour would.
namespace KivPixelRules {

// The rule of `mode` (1..16, Copy included) on one pixel (bytes blue, green, red, alpha),
// with the colour's alpha as a. Modes outside 1..16 leave the pixel alone.
void Apply(KivDrawingMode mode, KivColor colour, uint8_t* pixel) noexcept;

// How an area fill treats a colour in a mode.
enum class FillKind {
    kNothing,  // mode outside 1..16, or a fully transparent blend
    kStore,    // Copy, or an opaque blend: the colour's four bytes are stored as they are
    kRule,     // the mode's per-pixel rule
};
FillKind KindOf(KivDrawingMode mode, KivColor colour) noexcept;

// One row of an area fill: `count` pixels from `row`, by KindOf. Alpha blending uses the
// vector loop when the processor has SSE2.
void FillRow(KivDrawingMode mode, KivColor colour, uint32_t* row, int32_t count) noexcept;

// Pixels of a source row, each acting as a colour with its own alpha, combined with a row of
// the target as an area fill of that colour would be (Copy stores the source as it is).
void CombineRow(KivDrawingMode mode, const uint32_t* source, uint32_t* row, int32_t count) noexcept;

// A pixel only partly covered by a shape (coverage 1..255 of 255). The colour's share is
// its alpha scaled by the coverage, then the mode's rule as usual; Copy instead mixes all
// four bytes by the coverage, and AddAndOverflow, which ignores alpha, adds only where at
// least half the pixel is covered. A share that rounds to 0 leaves the pixel untouched.
void ApplyCovered(KivDrawingMode mode, KivColor colour, uint8_t coverage, uint8_t* pixel) noexcept;

}  // namespace KivPixelRules
