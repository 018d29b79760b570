#pragma once
#include <cstdint>

#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_color.h"
#include "gui/drawing/kiv_drawing_mode.h"
#include "gui/drawing/kiv_rect.h"

// Where every shape meets the bitmap: rows of pixel coverage are cut to the clip rectangle
// and combined with one colour by the drawing mode. Runs of full coverage go through the
// area fill's row loop (and so through its fast fill); partly covered pixels through the
// mode's rule with a reduced share of the colour.
class KivSpanPainter {
public:
    // `clip` is limited to the bitmap.
    KivSpanPainter(KivBitmap& target, const KivRect& clip, KivColor colour, KivDrawingMode mode) noexcept;

    const KivRect& Clip() const noexcept { return clip_; }
    bool DrawsNothing() const noexcept;

    // Pixels x0..x1 (inclusive) of row y, fully covered.
    void Solid(int32_t y, int32_t x0, int32_t x1) noexcept;
    // Pixels x..x+count-1 of row y with coverage[i] of 255 each.
    void Covered(int32_t y, int32_t x, int32_t count, const uint8_t* coverage) noexcept;

private:
    KivBitmap& target_;
    KivRect clip_;
    KivColor colour_;
    KivDrawingMode mode_;
};
