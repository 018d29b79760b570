#include "dynamics/editor/tandrel_level_meter.h"

#include <algorithm>
#include <cmath>

#include "dynamics/editor/tandrel_meter_scale.h"
#include "gui/drawing/kiv_drawer.h"

namespace {

constexpr KivColor kWell = KivColor::Rgb(58, 64, 74);
constexpr KivColor kRMS = KivColor::Rgb(52, 132, 235);
constexpr KivColor kPeak = KivColor::Rgb(12, 14, 18);
constexpr KivColor kOver = KivColor::Rgb(232, 64, 64);
constexpr KivColor kSlowPeak = KivColor::Rgb(236, 238, 242);
constexpr KivColor kFrame = KivColor::Rgb(22, 25, 30);

}  // namespace

void TandrelLevelMeter::SetLevels(double peak, double rms, double slowPeak) {
    const int32_t height = GetSize().y;
    const bool visible = PixelsOf(peak, height) != PixelsOf(peak_, height) || PixelsOf(rms, height) != PixelsOf(rms_, height) ||
                         PixelsOf(slowPeak, height) != PixelsOf(slowPeak_, height);
    peak_ = peak;
    rms_ = rms;
    slowPeak_ = slowPeak;
    // Only a change of whole pixels is worth a repaint.
    if (visible) Invalidate();
}

int32_t TandrelLevelMeter::PixelsOf(double position, int32_t height) const {
    return static_cast<int32_t>(std::lround(std::clamp(position, 0.0, 1.0) * std::max(0, height - 2)));
}

void TandrelLevelMeter::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    drawer.FillRectangle(box, kFrame, KivDrawingMode::kCopy);
    const KivRect well{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    drawer.FillRectangle(well, kWell, KivDrawingMode::kCopy);
    const int32_t height = box.Height();
    const int32_t rms = PixelsOf(rms_, height);
    const int32_t peak = std::max(rms, PixelsOf(peak_, height));
    const int32_t over = PixelsOf(TandrelMeterScale::DecibelsToOutputPosition(TandrelMeterScale::kWarningDecibels), height);
    if (peak > rms) {
        drawer.FillRectangle(KivRect{well.left, well.bottom - peak + 1, well.right, well.bottom - rms}, kPeak,
                             KivDrawingMode::kCopy);
    }
    if (rms > 0) drawer.FillRectangle(KivRect{well.left, well.bottom - rms + 1, well.right, well.bottom}, kRMS, KivDrawingMode::kCopy);
    if (peak > over) {
        drawer.FillRectangle(KivRect{well.left, well.bottom - peak + 1, well.right, well.bottom - over}, kOver,
                             KivDrawingMode::kCopy);
    }
    const int32_t slow = PixelsOf(slowPeak_, height);
    if (slow > 0) {
        drawer.FillRectangle(KivRect{well.left, well.bottom - slow + 1, well.right, well.bottom - slow + 1}, kSlowPeak,
                             KivDrawingMode::kCopy);
    }
}
