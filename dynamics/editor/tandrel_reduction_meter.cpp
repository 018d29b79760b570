#include "dynamics/editor/tandrel_reduction_meter.h"

#include <algorithm>
#include <cmath>

#include "gui/drawing/kiv_drawer.h"
#include "gui/drawing/kiv_gradient_direction.h"

namespace {

constexpr KivColor kWell = KivColor::Rgb(58, 64, 74);
constexpr KivColor kReductionTop = KivColor::Rgb(255, 176, 46);
constexpr KivColor kReductionBottom = KivColor::Rgb(230, 120, 30);
constexpr KivColor kFrame = KivColor::Rgb(22, 25, 30);

}  // namespace

int32_t TandrelReductionMeter::ReductionPixels(double position) const {
    const double reduction = position > 1.0 ? 0.0 : 1.0 - std::clamp(position, 0.0, 1.0);
    return static_cast<int32_t>(std::lround(reduction * std::max(0, GetSize().y - 2)));
}

void TandrelReductionMeter::SetPosition(double position) {
    const bool visible = ReductionPixels(position) != ReductionPixels(position_);
    position_ = position;
    if (visible) Invalidate();
}

void TandrelReductionMeter::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    drawer.FillRectangle(box, kFrame, KivDrawingMode::kCopy);
    const KivRect well{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    drawer.FillRectangle(well, kWell, KivDrawingMode::kCopy);
    const int32_t pixels = ReductionPixels(position_);
    if (pixels <= 0) return;
    drawer.FillRectangleGradient(KivRect{well.left, well.top, well.right, well.top + pixels - 1}, kReductionTop,
                                 kReductionBottom, KivGradientDirection::kVertical, KivDrawingMode::kCopy);
}
