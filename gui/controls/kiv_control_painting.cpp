#include "gui/controls/kiv_control_painting.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"

using KivStyleAccess::Color;

void KivControlPainting::Text(KivDrawer& drawer, KivStyleFont font, const KivString& text, const KivRect& rect,
                              uint32_t flags, KivColor colour) {
    if (text.IsEmpty() || rect.IsEmpty()) return;
    drawer.AlignedTextOut(KivStyleAccess::Font(drawer, font), text, rect, flags, colour, KivDrawingMode::kAlphablend);
}

void KivControlPainting::Field(KivDrawer& drawer, const KivRect& rect, bool focused) {
    const int32_t radius = KivStyleMetrics::kCornerRadius;
    drawer.FillRoundRectangle(rect, radius, Color(drawer, KivStyleColor::kEditorBackground), KivDrawingMode::kAlphablend);
    const KivColor frame = Color(drawer, focused ? KivStyleColor::kHighlight : KivStyleColor::kFrame);
    drawer.RoundRectangle(rect, radius, frame, KivDrawingMode::kAlphablend);
}

void KivControlPainting::Face(KivDrawer& drawer, const KivRect& rect, bool pressed, bool hover) {
    const int32_t radius = KivStyleMetrics::kCornerRadius;
    const KivStyleColor face = pressed ? KivStyleColor::kButtonFacePressed
                               : hover ? KivStyleColor::kButtonFaceHover
                                       : KivStyleColor::kButtonFace;
    const KivColor base = Color(drawer, face);
    // A faint top-to-bottom shade reads as a raised surface without looking glossy.
    const KivColor top = pressed ? base : Mix(base, KivColor::Rgb(255, 255, 255), 14);
    drawer.FillRoundRectangle(rect, radius, base, KivDrawingMode::kAlphablend);
    const KivRect inner = Inset(rect, 1, 1);
    drawer.FillRectangleGradient(KivRect{inner.left + 1, inner.top, inner.right - 1, inner.top + inner.Height() / 2},
                                 top, base, KivGradientDirection::kVertical, KivDrawingMode::kAlphablend);
    drawer.RoundRectangle(rect, radius, Color(drawer, KivStyleColor::kFrame), KivDrawingMode::kAlphablend);
}

void KivControlPainting::Arc(KivDrawer& drawer, KivPointF centre, double outer, double inner, double fromDegrees,
                             double toDegrees, KivColor colour) {
    if (toDegrees <= fromDegrees) return;
    const int32_t steps = std::max(2, static_cast<int32_t>((toDegrees - fromDegrees) / 4.0) + 1);
    std::vector<KivPointF> points;
    points.reserve(static_cast<size_t>(2 * (steps + 1)));
    auto at = [&](double radius, int32_t step) {
        const double degrees = fromDegrees + (toDegrees - fromDegrees) * step / steps;
        const double radians = degrees * std::numbers::pi / 180.0;
        return KivPointF{centre.x + radius * std::cos(radians), centre.y + radius * std::sin(radians)};
    };
    for (int32_t step = 0; step <= steps; ++step) points.push_back(at(outer, step));
    for (int32_t step = steps; step >= 0; --step) points.push_back(at(inner, step));
    drawer.FillPolygonF(points.data(), static_cast<int32_t>(points.size()), colour, KivDrawingMode::kAlphablend);
}

KivColor KivControlPainting::TextColor(const KivDrawer& drawer, bool enabled) {
    return Color(drawer, enabled ? KivStyleColor::kText : KivStyleColor::kDisabledText);
}

KivRect KivControlPainting::Inset(const KivRect& rect, int32_t dx, int32_t dy) {
    return KivRect{rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy};
}

KivColor KivControlPainting::Mix(KivColor from, KivColor to, int32_t amount) {
    auto channel = [amount](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>((x * (255 - amount) + y * amount) / 255);
    };
    return KivColor{channel(from.b, to.b), channel(from.g, to.g), channel(from.r, to.r), channel(from.a, to.a)};
}
