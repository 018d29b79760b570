// The graph editor's picture: field, caption, grid with labels, the curve with the area
// under it, and the handles.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/kiv_format.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_graph_editor.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

namespace {
constexpr int32_t kCaptionHeight = 18;
constexpr int32_t kLabelWidth = 40;   // room for the y labels left of the plot
constexpr int32_t kLabelHeight = 18;  // room for the x labels under the plot
constexpr double kCurveWidth = 2.0;
constexpr double kPointRadius = 4.5;
constexpr double kCurvatureRadius = 3.5;

KivColor Shade(const KivDrawer& drawer, int32_t amount) {
    return KivControlPainting::Mix(Color(drawer, KivStyleColor::kEditorBackground), Color(drawer, KivStyleColor::kText), amount);
}

int32_t Pixel(double position) { return static_cast<int32_t>(std::floor(position + 0.5)); }

void Disc(KivDrawer& drawer, KivPointF centre, double radius, KivColor colour) {
    KivControlPainting::Arc(drawer, centre, radius, 0.0, 0.0, 360.0, colour);
}

void Square(KivDrawer& drawer, KivPointF centre, double half, KivColor colour) {
    const KivPointF corners[] = {{centre.x - half, centre.y - half}, {centre.x + half, centre.y - half},
                                 {centre.x + half, centre.y + half}, {centre.x - half, centre.y + half}};
    drawer.FillPolygonF(corners, 4, colour, KivDrawingMode::kAlphablend);
}

void Diamond(KivDrawer& drawer, KivPointF centre, double half, KivColor colour) {
    const KivPointF corners[] = {{centre.x, centre.y - half}, {centre.x + half, centre.y},
                                 {centre.x, centre.y + half}, {centre.x - half, centre.y}};
    drawer.FillPolygonF(corners, 4, colour, KivDrawingMode::kAlphablend);
}

// Restores the drawer's clip when painting inside a narrower one is done.
class ClipInside {
public:
    ClipInside(KivDrawer& drawer, const KivRect& rect) : drawer_(drawer), saved_(drawer.GetClipRect()) {
        drawer.SetClipRect(KivRect{std::max(rect.left, saved_.left), std::max(rect.top, saved_.top),
                                   std::min(rect.right, saved_.right), std::min(rect.bottom, saved_.bottom)});
    }
    ~ClipInside() { drawer_.SetClipRect(saved_); }
    ClipInside(const ClipInside&) = delete;
    ClipInside& operator=(const ClipInside&) = delete;

private:
    KivDrawer& drawer_;
    KivRect saved_;
};
}  // namespace

KivGraphPlot KivGraphEditor::Plot() const {
    const KivRect client = GetClientRect();
    const int32_t padding = KivStyleMetrics::kPadding;
    const int32_t top = GetText().IsEmpty() ? padding + 4 : padding + kCaptionHeight + 4;
    const KivRect area{client.left + kLabelWidth + padding, client.top + top, client.right - padding - 4,
                       client.bottom - kLabelHeight - padding / 2};
    return KivGraphPlot(area, *envelope_);
}

void KivGraphEditor::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect area = GetWindowRect();
    KivControlPainting::Field(drawer, area, focused_);
    if (!GetText().IsEmpty()) {
        const int32_t padding = KivStyleMetrics::kPadding;
        const KivRect caption{area.left + padding, area.top + padding - 2, area.right - padding, area.top + padding - 2 + kCaptionHeight - 1};
        KivControlPainting::Text(drawer, KivStyleFont::kNormal, GetText(), caption,
                                 KivTextAlignment::kLeft | KivTextAlignment::kVerticalCentre | KivTextAlignment::kEllipsis,
                                 KivControlPainting::TextColor(drawer, IsEnabled()));
    }
    const KivGraphPlot plot(Plot().Area().Offset(area.left, area.top), *envelope_);
    if (plot.Area().Width() < 8 || plot.Area().Height() < 8) return;
    PaintGrid(drawer, plot);
    PaintLabels(drawer, plot);
    PaintCurve(drawer, plot);
    PaintHandles(drawer, plot);
}

void KivGraphEditor::PaintGrid(KivDrawer& drawer, const KivGraphPlot& plot) const {
    const KivRect& area = plot.Area();
    const KivEnvelope& envelope = *envelope_;
    drawer.FillRectangle(area, KivControlPainting::Mix(Color(drawer, KivStyleColor::kEditorBackground), KivColor::Rgb(0, 0, 0), 40),
                         KivDrawingMode::kAlphablend);
    const KivColor line = Shade(drawer, 26);
    for (int32_t i = 1; i < gridX_; ++i) {
        const double x = envelope.GetXMinimum() + (envelope.GetXMaximum() - envelope.GetXMinimum()) * i / gridX_;
        const int32_t px = Pixel(plot.ToPixel(x, 0.0).x);
        drawer.FillRectangle(KivRect{px, area.top, px, area.bottom}, line, KivDrawingMode::kAlphablend);
    }
    for (int32_t i = 1; i < gridY_; ++i) {
        const double y = envelope.GetYMinimum() + (envelope.GetYMaximum() - envelope.GetYMinimum()) * i / gridY_;
        const int32_t py = Pixel(plot.ToPixel(0.0, y).y);
        drawer.FillRectangle(KivRect{area.left, py, area.right, py}, line, KivDrawingMode::kAlphablend);
    }
    if (diagonal_) {
        // Dashes, so that the identity reads as a reference rather than as part of the curve.
        const KivPointF from = plot.ToPixel(envelope.GetXMinimum(), envelope.GetYMinimum());
        const KivPointF to = plot.ToPixel(envelope.GetXMaximum(), envelope.GetYMaximum());
        const double length = std::hypot(to.x - from.x, to.y - from.y);
        const KivColor dash = Shade(drawer, 60);
        for (double at = 0.0; at < length; at += 8.0) {
            const double end = std::min(length, at + 4.0);
            drawer.MoveToF(KivPointF{from.x + (to.x - from.x) * at / length, from.y + (to.y - from.y) * at / length});
            drawer.LineToF(KivPointF{from.x + (to.x - from.x) * end / length, from.y + (to.y - from.y) * end / length}, dash,
                           KivDrawingMode::kAlphablend);
        }
    }
    drawer.Rectangle(area, Shade(drawer, 48), KivDrawingMode::kAlphablend);
}

KivString KivGraphEditor::LabelOf(const AxisLabel& label, double value) const {
    if (label) return label(value);
    return KivFormat(KivString("{0.2}")).Argument(value).Result();
}

void KivGraphEditor::PaintLabels(KivDrawer& drawer, const KivGraphPlot& plot) const {
    const KivRect& area = plot.Area();
    const KivEnvelope& envelope = *envelope_;
    const KivFont& font = KivStyleAccess::Font(drawer, KivStyleFont::kSmall);
    const KivColor colour = Color(drawer, KivStyleColor::kDimmedText);
    const int32_t height = font.LineHeight();
    // Labels that would touch the one before are left out; the ends always get one.
    int32_t freeBelow = area.bottom + height;
    for (int32_t i = 0; i <= std::max(gridY_, 1); ++i) {
        const double y = envelope.GetYMinimum() + (envelope.GetYMaximum() - envelope.GetYMinimum()) * i / std::max(gridY_, 1);
        const int32_t py = Pixel(plot.ToPixel(0.0, y).y);
        const KivRect rect{area.left - kLabelWidth - 6, py - height / 2, area.left - 6, py - height / 2 + height - 1};
        if (rect.bottom >= freeBelow) continue;
        KivControlPainting::Text(drawer, KivStyleFont::kSmall, LabelOf(yLabel_, y), rect,
                                 KivTextAlignment::kRight | KivTextAlignment::kVerticalCentre, colour);
        freeBelow = rect.top - 2;
    }
    int32_t freeFrom = area.left - kLabelWidth;
    for (int32_t i = 0; i <= std::max(gridX_, 1); ++i) {
        const double x = envelope.GetXMinimum() + (envelope.GetXMaximum() - envelope.GetXMinimum()) * i / std::max(gridX_, 1);
        const KivString text = LabelOf(xLabel_, x);
        const int32_t width = static_cast<int32_t>(std::ceil(font.MeasureText(text))) + 2;
        const int32_t px = Pixel(plot.ToPixel(x, 0.0).x);
        const KivRect rect{px - width / 2, area.bottom + 3, px - width / 2 + width - 1, area.bottom + 3 + height - 1};
        if (rect.left < freeFrom) continue;
        KivControlPainting::Text(drawer, KivStyleFont::kSmall, text, rect, KivTextAlignment::kHorizontalCentre, colour);
        freeFrom = rect.right + 6;
    }
}

void KivGraphEditor::PaintCurve(KivDrawer& drawer, const KivGraphPlot& plot) {
    const KivRect& area = plot.Area();
    const int32_t count = area.Width();
    // The same evaluation the processing uses, one value per pixel column.
    std::vector<double> values(static_cast<size_t>(count));
    if (into_) {
        for (int32_t i = 0; i < count; ++i) values[static_cast<size_t>(i)] = ValueAt(plot.XAt(area.left + i));
    } else {
        computer_.Render(values.data(), plot.XAt(area.left), plot.XPerPixel(), count);
    }
    std::vector<KivPointF> curve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) curve[static_cast<size_t>(i)] = plot.ToPixel(plot.XAt(area.left + i), values[static_cast<size_t>(i)]);

    ClipInside clip(drawer, area);
    const KivColor accent = Color(drawer, IsEnabled() ? KivStyleColor::kHighlight : KivStyleColor::kDisabledText);
    std::vector<KivPointF> outline(curve);
    outline.push_back(KivPointF{curve.back().x, area.bottom + 1.0});
    outline.push_back(KivPointF{curve.front().x, area.bottom + 1.0});
    drawer.FillPolygonF(outline.data(), static_cast<int32_t>(outline.size()), accent.WithAlpha(34), KivDrawingMode::kAlphablend);

    // A band of constant width around the curve: each column is widened vertically by how
    // steep the curve runs there, up to a limit that keeps jumps from turning into blocks.
    outline.clear();
    std::vector<double> half(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const KivPointF& before = curve[static_cast<size_t>(std::max(0, i - 1))];
        const KivPointF& after = curve[static_cast<size_t>(std::min(count - 1, i + 1))];
        const double slope = (after.y - before.y) / std::max(1.0, after.x - before.x);
        half[static_cast<size_t>(i)] = kCurveWidth / 2.0 * std::min(std::sqrt(1.0 + slope * slope), 3.0);
    }
    for (int32_t i = 0; i < count; ++i) {
        const KivPointF& p = curve[static_cast<size_t>(i)];
        outline.push_back(KivPointF{p.x, p.y - half[static_cast<size_t>(i)]});
    }
    for (int32_t i = count - 1; i >= 0; --i) {
        const KivPointF& p = curve[static_cast<size_t>(i)];
        outline.push_back(KivPointF{p.x, p.y + half[static_cast<size_t>(i)]});
    }
    drawer.FillPolygonF(outline.data(), static_cast<int32_t>(outline.size()), accent, KivDrawingMode::kAlphablend);
}

void KivGraphEditor::PaintHandles(KivDrawer& drawer, const KivGraphPlot& plot) {
    const KivEnvelope& envelope = *envelope_;
    const KivColor accent = Color(drawer, KivStyleColor::kHighlight);
    const KivColor ground = Color(drawer, KivStyleColor::kEditorBackground);
    const KivColor body = KivControlPainting::TextColor(drawer, IsEnabled());
    if (!CanEdit()) {
        // Shown, not offered: small marks without handles to grab.
        for (int32_t i = 0; i < envelope.GetPointCount(); ++i) {
            const KivEnvelopePoint& point = envelope.GetPoint(i);
            Disc(drawer, plot.ToPixel(point.x, point.y), 2.5, Shade(drawer, 150));
        }
        return;
    }
    for (int32_t i = 0; i + 1 < envelope.GetPointCount(); ++i) {
        if (!HasCurvatureHandle(i)) continue;
        const double middle = (envelope.GetPoint(i).x + envelope.GetPoint(i + 1).x) / 2.0;
        const KivPointF centre = plot.ToPixel(middle, ValueAt(middle));
        const bool lit = (hover_.kind == Target::kCurvature && hover_.index == i) || (drag_ == Drag::kCurvature && IndexOf(dragged_) == i);
        Diamond(drawer, centre, kCurvatureRadius + 1.5, ground);
        Diamond(drawer, centre, kCurvatureRadius, lit ? accent : Shade(drawer, 120));
    }
    for (int32_t i = 0; i < envelope.GetPointCount(); ++i) {
        const KivEnvelopePoint& point = envelope.GetPoint(i);
        const KivPointF centre = plot.ToPixel(point.x, point.y);
        const bool selected = &point == selected_;
        const bool hovered = hover_.kind == Target::kPoint && hover_.index == i;
        if (selected || hovered) Disc(drawer, centre, kPointRadius + 4.0, accent.WithAlpha(selected ? 70 : 45));
        const KivColor fill = selected ? accent : body;
        // Locked points are square: they keep their place on the x axis.
        if (point.IsLocked()) {
            Square(drawer, centre, kPointRadius, ground);
            Square(drawer, centre, kPointRadius - 1.3, fill);
        } else {
            Disc(drawer, centre, kPointRadius + 1.3, ground);
            Disc(drawer, centre, kPointRadius, fill);
        }
    }
}
