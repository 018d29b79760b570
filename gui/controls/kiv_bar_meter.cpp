#include "gui/controls/kiv_bar_meter.h"

#include <algorithm>

#include "gui/controls/kiv_control_painting.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"

using KivStyleAccess::Color;

namespace {
constexpr int32_t kSegment = 3;  // lit pixels per segment, then one dark gap

KivStyleColor ZoneOf(double share) {
    if (share >= KivBarMeter::kHighFrom) return KivStyleColor::kMeterHigh;
    if (share >= KivBarMeter::kMiddleFrom) return KivStyleColor::kMeterMiddle;
    return KivStyleColor::kMeterLow;
}
}  // namespace

void KivBarMeter::SetLevel(double level, double peak) {
    level_ = std::clamp(level, 0.0, 1.0);
    peak_ = std::max(level_, std::clamp(peak, 0.0, 1.0));
    Invalidate();
}

double KivBarMeter::GetLevel() const { return GetValue() != nullptr ? GetPosition() : level_; }

void KivBarMeter::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    drawer.FillRectangle(box, Color(drawer, KivStyleColor::kEditorBackground), KivDrawingMode::kAlphablend);
    const KivRect inner = KivControlPainting::Inset(box, 2, 2);
    const bool horizontal = IsHorizontal();
    const int32_t length = horizontal ? inner.Width() : inner.Height();
    if (length <= 0) return;
    const double level = GetLevel();
    // Segments run from the zero end; each shows its zone's colour, dimmed when unlit.
    for (int32_t start = 0; start < length; start += kSegment + 1) {
        const int32_t end = std::min(length - 1, start + kSegment - 1);
        const double share = (start + 0.5) / length;
        const KivColor zone = Color(drawer, ZoneOf(share));
        const bool lit = share < level;
        const KivColor colour = lit ? zone : KivControlPainting::Mix(Color(drawer, KivStyleColor::kEditorBackground), zone, 40);
        const KivRect segment = horizontal ? KivRect{inner.left + start, inner.top, inner.left + end, inner.bottom}
                                           : KivRect{inner.left, inner.bottom - end, inner.right, inner.bottom - start};
        drawer.FillRectangle(segment, colour, KivDrawingMode::kAlphablend);
    }
    const double peak = std::max(peak_, level);
    if (peak > 0.0) {
        const auto at = static_cast<int32_t>(peak * (length - 1));
        const KivRect line = horizontal ? KivRect{inner.left + at - 1, inner.top, inner.left + at, inner.bottom}
                                        : KivRect{inner.left, inner.bottom - at, inner.right, inner.bottom - at + 1};
        drawer.FillRectangle(line, Color(drawer, KivStyleColor::kText), KivDrawingMode::kAlphablend);
    }
    drawer.Rectangle(box, Color(drawer, KivStyleColor::kFrame), KivDrawingMode::kAlphablend);
}

KivPoint KivBarMeter::ComputeAutoSize(KivPoint) { return KivStyleMetrics::kBarMeterSize; }
