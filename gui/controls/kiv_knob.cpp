#include "gui/controls/kiv_knob.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gui/controls/kiv_control_painting.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

namespace {
constexpr int32_t kTextHeight = 16;
}  // namespace

void KivKnob::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect area = GetWindowRect();
    const bool captioned = !GetText().IsEmpty();
    const KivRect caption{area.left, area.top, area.right, area.top + kTextHeight - 1};
    const KivRect readout{area.left, area.bottom - kTextHeight + 1, area.right, area.bottom};
    const KivRect dial{area.left, captioned ? caption.bottom + 3 : area.top, area.right, readout.top - 3};
    if (captioned) {
        KivControlPainting::Text(drawer, KivStyleFont::kSmall, GetText(), caption,
                                 KivTextAlignment::kCentred | KivTextAlignment::kEllipsis,
                                 Color(drawer, KivStyleColor::kDimmedText));
    }
    PaintDial(drawer, dial);
    const KivColor text = HasFocus() || IsDragging() ? Color(drawer, KivStyleColor::kHighlight)
                                                     : KivControlPainting::TextColor(drawer, IsEnabled());
    KivControlPainting::Text(drawer, KivStyleFont::kSmall, GetValueText(), readout,
                             KivTextAlignment::kCentred | KivTextAlignment::kEllipsis, text);
}

void KivKnob::PaintDial(KivDrawer& drawer, const KivRect& area) const {
    const int32_t diameter = std::min(area.Width(), area.Height());
    if (diameter < 8) return;
    const KivPointF centre{area.left + (area.Width() - 1) / 2.0, area.top + (area.Height() - 1) / 2.0};
    const double outer = diameter / 2.0 - 0.5;
    const double ring = std::max(2.5, diameter / 16.0);
    const double position = GetPosition();
    const KivColor accent = Color(drawer, IsEnabled() ? KivStyleColor::kHighlight : KivStyleColor::kDisabledText);
    // The track, then the lit share of it.
    KivControlPainting::Arc(drawer, centre, outer, outer - ring, AngleOf(0.0), AngleOf(1.0),
                            Color(drawer, KivStyleColor::kEditorBackground));
    KivControlPainting::Arc(drawer, centre, outer, outer - ring, AngleOf(0.0), AngleOf(position), accent);
    // The body sits inside the ring with a small gap, lit faintly from above.
    const auto body = static_cast<int32_t>(outer - ring - 2.5);
    const KivPoint middle{static_cast<int32_t>(std::lround(centre.x)), static_cast<int32_t>(std::lround(centre.y))};
    const KivColor face = Color(drawer, KivStyleColor::kKnobBody);
    drawer.FillCircle(middle, body, face, KivDrawingMode::kAlphablend);
    drawer.FillCircle(KivPoint{middle.x, middle.y - 1}, body - 1,
                      KivControlPainting::Mix(face, KivColor::Rgb(255, 255, 255), 10), KivDrawingMode::kAlphablend);
    drawer.Circle(middle, body, Color(drawer, KivStyleColor::kFrame), KivDrawingMode::kAlphablend);
    // The pointer: a short bar from near the centre to near the edge of the body.
    const double radians = AngleOf(position) * std::numbers::pi / 180.0;
    const double cx = std::cos(radians);
    const double sy = std::sin(radians);
    const double from = body * 0.35;
    const double to = body - 2.0;
    const double half = std::max(1.0, diameter / 40.0);
    const KivPointF pointer[] = {{centre.x + cx * from - sy * half, centre.y + sy * from + cx * half},
                                 {centre.x + cx * to - sy * half, centre.y + sy * to + cx * half},
                                 {centre.x + cx * to + sy * half, centre.y + sy * to - cx * half},
                                 {centre.x + cx * from + sy * half, centre.y + sy * from - cx * half}};
    drawer.FillPolygonF(pointer, 4, KivControlPainting::TextColor(drawer, IsEnabled()), KivDrawingMode::kAlphablend);
}

KivPoint KivKnob::ComputeAutoSize(KivPoint) { return KivStyleMetrics::kKnobSize; }
