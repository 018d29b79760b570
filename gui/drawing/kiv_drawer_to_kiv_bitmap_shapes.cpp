// Lines, outlines, round shapes and polygons of KivDrawerToKivBitmap.
#include <algorithm>
#include <vector>

#include "base/kiv_boundary.h"
#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/drawing/kiv_rounded_box.h"
#include "gui/drawing/kiv_span_painter.h"
#include "gui/drawing/kiv_stroke.h"

namespace {
constexpr double kLineWidth = 1.0;

// Pixel centres (the drawer's coordinates) to the rasterizer's pixel corners.
KivPointF Corner(KivPointF centre) { return KivPointF{centre.x + 0.5, centre.y + 0.5}; }
KivPointF ToF(KivPoint point) { return KivPointF{static_cast<double>(point.x), static_cast<double>(point.y)}; }
}  // namespace

void KivDrawerToKivBitmap::StrokeLine(KivPointF from, KivPointF to, KivColor colour, KivDrawingMode mode) {
    const KivPointF ends[2] = {from, to};
    StrokePath(ends, 2, colour, mode);
}

void KivDrawerToKivBitmap::StrokePath(const KivPointF* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    if (count <= 0) return;
    std::vector<KivPointF> corners(static_cast<size_t>(count));
    std::transform(points, points + count, corners.begin(), Corner);
    StrokeCorners(corners.data(), count, kLineWidth, colour, mode);
}

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

void KivDrawerToKivBitmap::MoveTo(KivPoint point) { position_ = ToF(point); }

void KivDrawerToKivBitmap::MoveToF(KivPointF point) { position_ = point; }

void KivDrawerToKivBitmap::LineTo(KivPoint point, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::LineTo", [&] {
        const KivPointF from = position_;
        position_ = ToF(point);
        StrokeLine(from, position_, colour, mode);
    });
}

void KivDrawerToKivBitmap::LineToF(KivPointF point, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::LineToF", [&] {
        const KivPointF from = position_;
        position_ = point;
        StrokeLine(from, position_, colour, mode);
    });
}

void KivDrawerToKivBitmap::PolyLine(const KivPoint* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::PolyLine", [&] {
        if (points == nullptr || count <= 0) return;
        std::vector<KivPointF> centres(static_cast<size_t>(count));
        std::transform(points, points + count, centres.begin(), ToF);
        StrokePath(centres.data(), count, colour, mode);
    });
}

void KivDrawerToKivBitmap::PolyLineF(const KivPointF* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::PolyLineF", [&] {
        if (points != nullptr) StrokePath(points, count, colour, mode);
    });
}

void KivDrawerToKivBitmap::FillPolygon(const KivPoint* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillPolygon", [&] {
        if (points == nullptr || count < 3) return;
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), ToF);
        FillOutline(corners.data(), count, colour, mode);
    });
}

void KivDrawerToKivBitmap::FillPolygonF(const KivPointF* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillPolygonF", [&] {
        if (points == nullptr || count < 3) return;
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), Corner);
        FillOutline(corners.data(), count, colour, mode);
    });
}

void KivDrawerToKivBitmap::RoundRectangle(const KivRect& rect, int32_t radius, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::RoundRectangle", [&] {
        if (rect.IsEmpty()) return;
        // The outline runs through the centres of the rectangle's border pixels.
        KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
        KivRoundedBox{rect.left + 0.5, rect.top + 0.5, rect.right + 0.5, rect.bottom + 0.5,
                      std::max(0.0, radius - 0.5)}
            .Stroke(painter);
    });
}

void KivDrawerToKivBitmap::FillRoundRectangle(const KivRect& rect, int32_t radius, KivColor colour,
                                              KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillRoundRectangle", [&] {
        if (rect.IsEmpty()) return;
        KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
        KivRoundedBox{static_cast<double>(rect.left), static_cast<double>(rect.top), rect.right + 1.0,
                      rect.bottom + 1.0, static_cast<double>(std::max(0, radius))}
            .Fill(painter);
    });
}

void KivDrawerToKivBitmap::Circle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::Circle", [&] {
        if (radius < 0) return;
        KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
        const double x = centre.x + 0.5, y = centre.y + 0.5, r = radius;
        KivRoundedBox{x - r, y - r, x + r, y + r, r}.Stroke(painter);
    });
}

void KivDrawerToKivBitmap::FillCircle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillCircle", [&] {
        if (radius < 0) return;
        KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
        const double x = centre.x + 0.5, y = centre.y + 0.5, r = radius + 0.5;
        KivRoundedBox{x - r, y - r, x + r, y + r, r}.Fill(painter);
    });
}
