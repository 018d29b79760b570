#include "gui/layout/kiv_layout_cell.h"

#include <algorithm>

#include "gui/layout/kiv_layout_axis.h"

namespace {

struct Span {
    int32_t start;
    int32_t length;
};

Span PlaceAlong(const KivControl& control, const KivRect& cell, int32_t contentLength, KivLayoutAxis axis) {
    const int32_t cellStart = KivLayoutAxes::Start(cell, axis);
    const int32_t cellLength = KivLayoutAxes::Length(cell, axis);
    const int32_t border = KivLayoutAxes::Border(control, axis);
    if (KivLayoutAxes::Stretches(control, axis)) return Span{cellStart + border, std::max(0, cellLength - 2 * border)};
    switch (control.Layout().alignment) {
        case KivAlignment::kEnd:
            return Span{cellStart + cellLength - border - contentLength, contentLength};
        case KivAlignment::kCenter:
            return Span{cellStart + (cellLength - contentLength) / 2, contentLength};
        case KivAlignment::kStart:
            break;
    }
    return Span{cellStart + border, contentLength};
}

}  // namespace

void KivLayoutPlaceInCell(KivControl& control, const KivRect& cell, KivPoint contentSize) {
    const Span x = PlaceAlong(control, cell, contentSize.x, KivLayoutAxis::kHorizontal);
    const Span y = PlaceAlong(control, cell, contentSize.y, KivLayoutAxis::kVertical);
    control.SetBounds(KivRect{x.start, y.start, x.start + x.length - 1, y.start + y.length - 1});
}
