#include "gui/controls/kiv_tracker.h"

#include <algorithm>
#include <cmath>

#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_value_gestures.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

namespace {
constexpr int32_t kTextHeight = 16;
}  // namespace

int32_t KivTracker::TrackY() const {
    const int32_t below = GetSize().y - kHandleRadius - 2;
    return GetText().IsEmpty() && GetValue() == nullptr ? GetSize().y / 2 : std::max(kTextHeight + kHandleRadius, below);
}

void KivTracker::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect area = GetWindowRect();
    const KivRect text{area.left, area.top, area.right, area.top + kTextHeight - 1};
    KivControlPainting::Text(drawer, KivStyleFont::kSmall, GetText(), text,
                             KivTextAlignment::kVerticalCentre | KivTextAlignment::kEllipsis,
                             Color(drawer, KivStyleColor::kDimmedText));
    const KivColor valueColour = HasFocus() || IsDragging() ? Color(drawer, KivStyleColor::kHighlight)
                                                            : KivControlPainting::TextColor(drawer, IsEnabled());
    KivControlPainting::Text(drawer, KivStyleFont::kSmall, GetValueText(), text,
                             KivTextAlignment::kVerticalCentre | KivTextAlignment::kRight, valueColour);
    const int32_t y = area.top + TrackY();
    const int32_t left = area.left + TrackLeft();
    const int32_t right = area.left + TrackRight();
    const auto handle = left + static_cast<int32_t>(std::lround(GetPosition() * (right - left)));
    drawer.FillRoundRectangle(KivRect{left, y - 2, right, y + 2}, 2, Color(drawer, KivStyleColor::kEditorBackground),
                              KivDrawingMode::kAlphablend);
    const KivColor accent = Color(drawer, IsEnabled() ? KivStyleColor::kHighlight : KivStyleColor::kDisabledText);
    if (handle > left) drawer.FillRoundRectangle(KivRect{left, y - 2, handle, y + 2}, 2, accent, KivDrawingMode::kAlphablend);
    drawer.FillCircle(KivPoint{handle, y}, kHandleRadius, Color(drawer, KivStyleColor::kText), KivDrawingMode::kAlphablend);
    drawer.FillCircle(KivPoint{handle, y}, kHandleRadius - 3, accent, KivDrawingMode::kAlphablend);
}

int32_t KivTracker::TowardsLarger(KivPoint from, KivPoint to) const {
    // The handle follows the pointer one to one; Shift still refines it.
    const double pixelsPerRange = std::max(1, TrackRight() - TrackLeft());
    return static_cast<int32_t>(std::lround((to.x - from.x) * KivValueGestures::kDragPixels / pixelsPerRange));
}

void KivTracker::OnPress(KivPoint point) {
    const int32_t span = std::max(1, TrackRight() - TrackLeft());
    const int32_t handle = TrackLeft() + static_cast<int32_t>(std::lround(GetPosition() * span));
    // A press on the handle itself grabs it without a jump.
    if (std::abs(point.x - handle) <= kHandleRadius) return;
    SetPosition(static_cast<double>(point.x - TrackLeft()) / span);
}

KivPoint KivTracker::ComputeAutoSize(KivPoint available) {
    return KivPoint{std::max(KivStyleMetrics::kTrackerSize.x, available.x), KivStyleMetrics::kTrackerSize.y};
}
