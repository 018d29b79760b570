#include "gui/controls/kiv_progress_bar.h"

#include <algorithm>
#include <cmath>

#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"

using KivStyleAccess::Color;

void KivProgressBar::SetProgress(double share) {
    progress_ = std::clamp(share, 0.0, 1.0);
    Invalidate();
}

double KivProgressBar::GetProgress() const { return GetValue() != nullptr ? GetPosition() : progress_; }

void KivProgressBar::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    const int32_t radius = std::min(KivStyleMetrics::kCornerRadius, box.Height() / 2);
    drawer.FillRoundRectangle(box, radius, Color(drawer, KivStyleColor::kEditorBackground), KivDrawingMode::kAlphablend);
    const auto filled = static_cast<int32_t>(std::lround(GetProgress() * box.Width()));
    if (filled <= 0) return;
    drawer.FillRoundRectangle(KivRect{box.left, box.top, box.left + filled - 1, box.bottom}, radius,
                              Color(drawer, KivStyleColor::kHighlight), KivDrawingMode::kAlphablend);
}

KivPoint KivProgressBar::ComputeAutoSize(KivPoint available) {
    return KivPoint{std::max(KivStyleMetrics::kProgressBarSize.x, available.x), KivStyleMetrics::kProgressBarSize.y};
}
