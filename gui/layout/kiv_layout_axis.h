#pragma once
#include <cstdint>

#include "gui/core/kiv_control.h"
#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"
#include "gui/layout/kiv_layout_size_computer.h"

// The direction a line of controls runs in. Line code is written once in terms of "along"
// and "across" and this turns those into x and y.
enum class KivLayoutAxis : int32_t { kHorizontal = 0, kVertical = 1 };

namespace KivLayoutAxes {

inline KivLayoutAxis Other(KivLayoutAxis axis) {
    return axis == KivLayoutAxis::kHorizontal ? KivLayoutAxis::kVertical : KivLayoutAxis::kHorizontal;
}
inline int32_t Of(KivPoint point, KivLayoutAxis axis) { return axis == KivLayoutAxis::kHorizontal ? point.x : point.y; }
inline int32_t Start(const KivRect& rect, KivLayoutAxis axis) {
    return axis == KivLayoutAxis::kHorizontal ? rect.left : rect.top;
}
inline int32_t Length(const KivRect& rect, KivLayoutAxis axis) {
    return axis == KivLayoutAxis::kHorizontal ? rect.Width() : rect.Height();
}
inline int32_t Ratio(const KivControl& control, KivLayoutAxis axis) {
    return axis == KivLayoutAxis::kHorizontal ? control.Layout().ratioX : control.Layout().ratioY;
}
inline int32_t Border(const KivControl& control, KivLayoutAxis axis) {
    return axis == KivLayoutAxis::kHorizontal ? control.Layout().borderX : control.Layout().borderY;
}
// A control stretches over its cell in a direction where it has a ratio or sizes itself.
inline bool Stretches(const KivControl& control, KivLayoutAxis axis) {
    return Ratio(control, axis) != 0 || control.Layout().autoSize;
}
inline int32_t Measure(const KivLayout::SizeComputer& computer, KivControl& control, KivLayoutAxis axis) {
    return axis == KivLayoutAxis::kHorizontal ? computer.GetWidth(control) : computer.GetHeight(control);
}
// The rectangle spanning [alongStart, +alongLength) × [acrossStart, +acrossLength).
inline KivRect MakeRect(KivLayoutAxis axis, int32_t alongStart, int32_t alongLength, int32_t acrossStart,
                        int32_t acrossLength) {
    if (axis == KivLayoutAxis::kHorizontal) {
        return KivRect{alongStart, acrossStart, alongStart + alongLength - 1, acrossStart + acrossLength - 1};
    }
    return KivRect{acrossStart, alongStart, acrossStart + acrossLength - 1, alongStart + alongLength - 1};
}
// A size of `along` × `across`.
inline KivPoint MakeSize(KivLayoutAxis axis, int32_t along, int32_t across) {
    return axis == KivLayoutAxis::kHorizontal ? KivPoint{along, across} : KivPoint{across, along};
}

}  // namespace KivLayoutAxes
