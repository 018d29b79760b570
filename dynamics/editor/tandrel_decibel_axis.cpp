#include "dynamics/editor/tandrel_decibel_axis.h"

#include <cmath>

#include "base/kiv_number.h"
#include "dynamics/editor/tandrel_meter_scale.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/text/kiv_text_alignment.h"

namespace {

constexpr int32_t kMarks[] = {0, -3, -6, -10, -15, -20, -30, -40, -60};
constexpr KivColor kTick = KivColor::Rgb(110, 118, 130);
constexpr KivColor kLabel = KivColor::Rgb(160, 168, 180);
constexpr uint32_t kRightMiddle = KivTextAlignment::kRight | KivTextAlignment::kVerticalCentre;
constexpr int32_t kLabelHeight = 12;
// The axis reaches this far above and below the meters, so that the end labels fit.
constexpr int32_t kOverhang = 6;

}  // namespace

void TandrelDecibelAxis::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect outer = GetWindowRect();
    const KivRect box{outer.left, outer.top + kOverhang, outer.right, outer.bottom - kOverhang};
    const int32_t span = box.Height() - 2;
    for (int32_t decibels : kMarks) {
        const double position = TandrelMeterScale::DecibelsToOutputPosition(decibels);
        const int32_t y = box.bottom - 1 - static_cast<int32_t>(std::lround(position * span));
        drawer.FillRectangle(KivRect{box.right - 4, y, box.right, y}, kTick, KivDrawingMode::kCopy);
        const KivRect label{box.left, y - kLabelHeight / 2, box.right - 7, y + kLabelHeight / 2};
        KivControlPainting::Text(drawer, KivStyleFont::kSmall, KivNumber::IntegerToText(decibels), label, kRightMiddle, kLabel);
    }
}
