#include "gui/drawing/kiv_gradient_fill.h"

#include <vector>

#include "gui/drawing/kiv_pixel_rules.h"

namespace KivGradientFill {

namespace {
uint8_t Mix(int32_t from, int32_t to, int64_t step, int64_t span) {
    return static_cast<uint8_t>((from * (span - step) + to * step + span / 2) / span);
}
}  // namespace

KivColor ColorAt(KivColor first, KivColor second, int32_t step, int32_t steps) noexcept {
    if (steps <= 1) return first;
    const int64_t span = steps - 1;
    return KivColor{Mix(first.b, second.b, step, span), Mix(first.g, second.g, step, span),
                    Mix(first.r, second.r, step, span), Mix(first.a, second.a, step, span)};
}

void Fill(KivBitmap& target, const KivRect& rect, KivColor first, KivColor second, KivGradientDirection direction,
          KivDrawingMode mode) {
    const KivRect area = rect.Intersection(target.Clip());
    if (area.IsEmpty()) return;
    if (direction == KivGradientDirection::kVertical) {
        for (int32_t y = area.top; y <= area.bottom; ++y) {
            const KivColor colour = ColorAt(first, second, y - rect.top, rect.Height());
            KivPixelRules::FillRow(mode, colour, target.Row(y) + area.left, area.Width());
        }
        return;
    }
    std::vector<KivColor> columns(static_cast<size_t>(area.Width()));
    for (int32_t x = area.left; x <= area.right; ++x) columns[x - area.left] = ColorAt(first, second, x - rect.left, rect.Width());
    for (int32_t y = area.top; y <= area.bottom; ++y) {
        uint32_t* row = target.Row(y) + area.left;
        for (size_t i = 0; i < columns.size(); ++i) KivPixelRules::FillRow(mode, columns[i], row + i, 1);
    }
}

}  // namespace KivGradientFill
