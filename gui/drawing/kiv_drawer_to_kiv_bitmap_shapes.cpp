// Lines, outlines, round shapes and polygons of KivDrawerToKivBitmap.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/kiv_boundary.h"
#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/drawing/kiv_rounded_box.h"
#include "gui/drawing/kiv_span_painter.h"
#include "gui/drawing/kiv_stroke.h"

namespace {
KivPointF ToF(KivPoint point) { return KivPointF{static_cast<double>(point.x), static_cast<double>(point.y)}; }
bool IsWhole(double value) { return value == std::floor(value) && std::fabs(value) < 1.0e9; }
}  // namespace

// Lines are as wide as a logical pixel, and a whole number of device pixels where the line
// runs along the pixel grid, so that a frame drawn at 150% is not two rows of half tone.
double KivDrawerToKivBitmap::LineWidth() const noexcept { return std::max(1.0, scale_.factor); }

void KivDrawerToKivBitmap::StrokeCorners(const KivPointF* corners, int32_t count, double width, KivColor colour,
                                         KivDrawingMode mode) {
    if (count <= 0) return;
    rasterizer_.Clear();
    if (count == 1) KivStroke::AddSegment(rasterizer_, corners[0], corners[0], width);
    for (int32_t i = 0; i + 1 < count; ++i) KivStroke::AddSegment(rasterizer_, corners[i], corners[i + 1], width);
    KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
    rasterizer_.Paint(painter);
}

void KivDrawerToKivBitmap::FillOutline(const KivPointF* corners, int32_t count, KivColor colour, KivDrawingMode mode) {
    if (count < 3) return;
    rasterizer_.Clear();
    rasterizer_.AddPolygon(corners, count);
    KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
    rasterizer_.Paint(painter);
}

void KivDrawerToKivBitmap::Line(KivPointF from, KivPointF to, KivColor colour, KivDrawingMode mode) {
    // A line along a row or column between pixel centres covers whole pixels (its square caps
    // reach the end pixels' edges): scaled, it is those pixels' device band.
    if (IsWhole(from.x) && IsWhole(from.y) && IsWhole(to.x) && IsWhole(to.y) &&
        (from.x == to.x || from.y == to.y)) {
        const auto x0 = static_cast<int32_t>(std::min(from.x, to.x)), x1 = static_cast<int32_t>(std::max(from.x, to.x));
        const auto y0 = static_cast<int32_t>(std::min(from.y, to.y)), y1 = static_cast<int32_t>(std::max(from.y, to.y));
        FillRectangle(KivRect{x0, y0, x1, y1}, colour, mode);
        return;
    }
    const KivPointF ends[2] = {scale_.ToDeviceCorner(from), scale_.ToDeviceCorner(to)};
    StrokeCorners(ends, 2, LineWidth(), colour, mode);
}

void KivDrawerToKivBitmap::MoveTo(KivPoint point) { position_ = ToF(point); }

void KivDrawerToKivBitmap::MoveToF(KivPointF point) { position_ = point; }

void KivDrawerToKivBitmap::LineTo(KivPoint point, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::LineTo", [&] {
        const KivPointF from = position_;
        position_ = ToF(point);
        Line(from, position_, colour, mode);
    });
}

void KivDrawerToKivBitmap::LineToF(KivPointF point, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::LineToF", [&] {
        const KivPointF from = position_;
        position_ = point;
        Line(from, position_, colour, mode);
    });
}

void KivDrawerToKivBitmap::PolyLine(const KivPoint* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::PolyLine", [&] {
        if (points == nullptr || count <= 0) return;
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), [&](KivPoint p) { return scale_.ToDeviceCorner(ToF(p)); });
        StrokeCorners(corners.data(), count, LineWidth(), colour, mode);
    });
}

void KivDrawerToKivBitmap::PolyLineF(const KivPointF* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::PolyLineF", [&] {
        if (points == nullptr || count <= 0) return;
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), [&](KivPointF p) { return scale_.ToDeviceCorner(p); });
        StrokeCorners(corners.data(), count, LineWidth(), colour, mode);
    });
}

void KivDrawerToKivBitmap::FillPolygon(const KivPoint* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillPolygon", [&] {
        if (points == nullptr || count < 3) return;
        // Integer polygon corners are pixel corners already.
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), [&](KivPoint p) {
            return KivPointF{static_cast<double>(scale_.Edge(p.x)), static_cast<double>(scale_.Edge(p.y))};
        });
        FillOutline(corners.data(), count, colour, mode);
    });
}

void KivDrawerToKivBitmap::FillPolygonF(const KivPointF* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillPolygonF", [&] {
        if (points == nullptr || count < 3) return;
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), [&](KivPointF p) { return scale_.ToDeviceCorner(p); });
        FillOutline(corners.data(), count, colour, mode);
    });
}

void KivDrawerToKivBitmap::RoundRectangle(const KivRect& rect, int32_t radius, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::RoundRectangle", [&] {
        if (rect.IsEmpty()) return;
        // The outline runs half its width inside the rectangle's device edges (through the
        // centres of the border pixels at 100%); its straight parts are whole device pixels.
        const double width = std::max(1.0, std::round(scale_.factor));
        const KivRect device = scale_.ToDevice(rect);
        const double half = 0.5 * width;
        KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
        KivRoundedBox{device.left + half, device.top + half, device.right + 1 - half, device.bottom + 1 - half,
                      std::max(0.0, radius * scale_.factor - half)}
            .Stroke(painter, width);
    });
}

void KivDrawerToKivBitmap::FillRoundRectangle(const KivRect& rect, int32_t radius, KivColor colour,
                                              KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillRoundRectangle", [&] {
        if (rect.IsEmpty()) return;
        const KivRect device = scale_.ToDevice(rect);
        KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
        KivRoundedBox{static_cast<double>(device.left), static_cast<double>(device.top), device.right + 1.0,
                      device.bottom + 1.0, std::max(0.0, radius * scale_.factor)}
            .Fill(painter);
    });
}

void KivDrawerToKivBitmap::Circle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::Circle", [&] {
        if (radius < 0) return;
        const KivPointF middle = scale_.ToDeviceCorner(ToF(centre));
        const double r = radius * scale_.factor;
        KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
        KivRoundedBox{middle.x - r, middle.y - r, middle.x + r, middle.y + r, r}.Stroke(painter, LineWidth());
    });
}

void KivDrawerToKivBitmap::FillCircle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillCircle", [&] {
        if (radius < 0) return;
        const KivPointF middle = scale_.ToDeviceCorner(ToF(centre));
        const double r = (radius + 0.5) * scale_.factor;
        KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
        KivRoundedBox{middle.x - r, middle.y - r, middle.x + r, middle.y + r, r}.Fill(painter);
    });
}
