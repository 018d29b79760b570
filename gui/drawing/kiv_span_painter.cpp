#include "gui/drawing/kiv_span_painter.h"

#include <algorithm>

#include "gui/drawing/kiv_pixel_rules.h"

KivSpanPainter::KivSpanPainter(KivBitmap& target, const KivRect& clip, KivColor colour,
                               KivDrawingMode mode) noexcept
    : target_(target), clip_(clip.Intersection(target.Bounds())), colour_(colour), mode_(mode) {}

bool KivSpanPainter::DrawsNothing() const noexcept {
    return clip_.IsEmpty() || !KivDrawingModes::Draws(mode_) ||
           (mode_ == KivDrawingMode::kAlphablend && colour_.a == 0);
}

void KivSpanPainter::Solid(int32_t y, int32_t x0, int32_t x1) noexcept {
    if (y < clip_.top || y > clip_.bottom) return;
    x0 = std::max(x0, clip_.left);
    x1 = std::min(x1, clip_.right);
    if (x1 < x0) return;
    KivPixelRules::FillRow(mode_, colour_, target_.Row(y) + x0, x1 - x0 + 1);
}

void KivSpanPainter::Covered(int32_t y, int32_t x, int32_t count, const uint8_t* coverage) noexcept {
    if (y < clip_.top || y > clip_.bottom) return;
    const int32_t first = std::max(x, clip_.left);
    const int32_t last = std::min(x + count - 1, clip_.right);
    auto* row = reinterpret_cast<uint8_t*>(target_.Row(y));
    for (int32_t px = first; px <= last;) {
        const uint8_t share = coverage[px - x];
        if (share == 255) {
            int32_t end = px;
            while (end < last && coverage[end + 1 - x] == 255) ++end;
            Solid(y, px, end);
            px = end + 1;
            continue;
        }
        KivPixelRules::ApplyCovered(mode_, colour_, share, row + 4 * px);
        ++px;
    }
}
