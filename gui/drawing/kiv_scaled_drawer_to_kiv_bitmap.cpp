#include "gui/drawing/kiv_scaled_drawer_to_kiv_bitmap.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/kiv_boundary.h"
#include "gui/drawing/kiv_rounded_box.h"
#include "gui/drawing/kiv_span_painter.h"
#include "gui/text/kiv_font.h"

namespace {
KivPointF ToF(KivPoint point) { return KivPointF{static_cast<double>(point.x), static_cast<double>(point.y)}; }
bool IsWhole(double value) { return value == std::floor(value) && std::fabs(value) < 1.0e9; }
}  // namespace

void KivScaledDrawerToKivBitmap::SetClipRect(const KivRect& clip) {
    clip_ = clip;
    KivDrawerToKivBitmap::SetClipRect(scale_.ToDevice(clip));
}

// Lines are as wide as a logical pixel, and a whole number of device pixels where the line
// runs along the pixel grid, so that a frame drawn at 150% is not two rows of half tone.
double KivScaledDrawerToKivBitmap::LineWidth() const noexcept { return std::max(1.0, scale_.factor); }

void KivScaledDrawerToKivBitmap::FillRectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) {
    if (!rect.IsEmpty()) KivDrawerToKivBitmap::FillRectangle(scale_.ToDevice(rect), colour, mode);
}

void KivScaledDrawerToKivBitmap::Rectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) {
    if (rect.IsEmpty()) return;
    // Four sides that do not overlap, as the unscaled outline, each a band of device pixels.
    FillRectangle(KivRect{rect.left, rect.top, rect.right, rect.top}, colour, mode);
    if (rect.bottom > rect.top) FillRectangle(KivRect{rect.left, rect.bottom, rect.right, rect.bottom}, colour, mode);
    if (rect.bottom - rect.top < 2) return;
    FillRectangle(KivRect{rect.left, rect.top + 1, rect.left, rect.bottom - 1}, colour, mode);
    if (rect.right > rect.left) FillRectangle(KivRect{rect.right, rect.top + 1, rect.right, rect.bottom - 1}, colour, mode);
}

void KivScaledDrawerToKivBitmap::FillRectangleGradient(const KivRect& rect, KivColor first, KivColor second,
                                                       KivGradientDirection direction, KivDrawingMode mode) {
    if (!rect.IsEmpty()) KivDrawerToKivBitmap::FillRectangleGradient(scale_.ToDevice(rect), first, second, direction, mode);
}

void KivScaledDrawerToKivBitmap::RoundRectangle(const KivRect& rect, int32_t radius, KivColor colour,
                                                KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::RoundRectangle", [&] {
        if (rect.IsEmpty()) return;
        // The straight parts are whole device pixels: the width is rounded and the outline
        // runs half of it inside the rectangle's device edges.
        const double width = std::max(1.0, std::round(scale_.factor));
        const KivRect device = scale_.ToDevice(rect);
        const double half = 0.5 * width;
        KivSpanPainter painter(Target(), Target().Clip(), colour, mode);
        KivRoundedBox{device.left + half, device.top + half, device.right + 1 - half, device.bottom + 1 - half,
                      std::max(0.0, radius * scale_.factor - half)}
            .Stroke(painter, width);
    });
}

void KivScaledDrawerToKivBitmap::FillRoundRectangle(const KivRect& rect, int32_t radius, KivColor colour,
                                                    KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::FillRoundRectangle", [&] {
        if (rect.IsEmpty()) return;
        const KivRect device = scale_.ToDevice(rect);
        KivSpanPainter painter(Target(), Target().Clip(), colour, mode);
        KivRoundedBox{static_cast<double>(device.left), static_cast<double>(device.top), device.right + 1.0,
                      device.bottom + 1.0, std::max(0.0, radius * scale_.factor)}
            .Fill(painter);
    });
}

void KivScaledDrawerToKivBitmap::Circle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::Circle", [&] {
        if (radius < 0) return;
        const KivPointF middle = scale_.ToDeviceCorner(ToF(centre));
        const double r = radius * scale_.factor;
        KivSpanPainter painter(Target(), Target().Clip(), colour, mode);
        KivRoundedBox{middle.x - r, middle.y - r, middle.x + r, middle.y + r, r}.Stroke(painter, LineWidth());
    });
}

void KivScaledDrawerToKivBitmap::FillCircle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::FillCircle", [&] {
        if (radius < 0) return;
        const KivPointF middle = scale_.ToDeviceCorner(ToF(centre));
        const double r = (radius + 0.5) * scale_.factor;
        KivSpanPainter painter(Target(), Target().Clip(), colour, mode);
        KivRoundedBox{middle.x - r, middle.y - r, middle.x + r, middle.y + r, r}.Fill(painter);
    });
}

void KivScaledDrawerToKivBitmap::Line(KivPointF from, KivPointF to, KivColor colour, KivDrawingMode mode) {
    // A line along a row or column between pixel centres covers whole pixels unscaled (its
    // square caps reach the end pixels' edges): scaled, it is those pixels' device band.
    if (IsWhole(from.x) && IsWhole(from.y) && IsWhole(to.x) && IsWhole(to.y) && (from.x == to.x || from.y == to.y)) {
        const auto x0 = static_cast<int32_t>(std::min(from.x, to.x)), x1 = static_cast<int32_t>(std::max(from.x, to.x));
        const auto y0 = static_cast<int32_t>(std::min(from.y, to.y)), y1 = static_cast<int32_t>(std::max(from.y, to.y));
        FillRectangle(KivRect{x0, y0, x1, y1}, colour, mode);
        return;
    }
    const KivPointF ends[2] = {scale_.ToDeviceCorner(from), scale_.ToDeviceCorner(to)};
    StrokeCorners(ends, 2, LineWidth(), colour, mode);
}

void KivScaledDrawerToKivBitmap::MoveTo(KivPoint point) { position_ = ToF(point); }

void KivScaledDrawerToKivBitmap::MoveToF(KivPointF point) { position_ = point; }

void KivScaledDrawerToKivBitmap::LineTo(KivPoint point, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::LineTo", [&] {
        const KivPointF from = position_;
        position_ = ToF(point);
        Line(from, position_, colour, mode);
    });
}

void KivScaledDrawerToKivBitmap::LineToF(KivPointF point, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::LineToF", [&] {
        const KivPointF from = position_;
        position_ = point;
        Line(from, position_, colour, mode);
    });
}

void KivScaledDrawerToKivBitmap::PolyLine(const KivPoint* points, int32_t count, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::PolyLine", [&] {
        if (points == nullptr || count <= 0) return;
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), [&](KivPoint p) { return scale_.ToDeviceCorner(ToF(p)); });
        StrokeCorners(corners.data(), count, LineWidth(), colour, mode);
    });
}

void KivScaledDrawerToKivBitmap::PolyLineF(const KivPointF* points, int32_t count, KivColor colour,
                                           KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::PolyLineF", [&] {
        if (points == nullptr || count <= 0) return;
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), [&](KivPointF p) { return scale_.ToDeviceCorner(p); });
        StrokeCorners(corners.data(), count, LineWidth(), colour, mode);
    });
}

void KivScaledDrawerToKivBitmap::FillPolygon(const KivPoint* points, int32_t count, KivColor colour,
                                             KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::FillPolygon", [&] {
        if (points == nullptr || count < 3) return;
        // Integer polygon corners are pixel corners already.
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), [&](KivPoint p) {
            return KivPointF{static_cast<double>(scale_.Edge(p.x)), static_cast<double>(scale_.Edge(p.y))};
        });
        FillOutline(corners.data(), count, colour, mode);
    });
}

void KivScaledDrawerToKivBitmap::FillPolygonF(const KivPointF* points, int32_t count, KivColor colour,
                                              KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::FillPolygonF", [&] {
        if (points == nullptr || count < 3) return;
        std::vector<KivPointF> corners(static_cast<size_t>(count));
        std::transform(points, points + count, corners.begin(), [&](KivPointF p) { return scale_.ToDeviceCorner(p); });
        FillOutline(corners.data(), count, colour, mode);
    });
}

// Text is laid out again with the font at the device size: glyphs are rendered for it, never
// enlarged from the logical size.
void KivScaledDrawerToKivBitmap::AlignedTextOut(const KivFont& font, const KivString& text, const KivRect& rect,
                                                uint32_t flags, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivScaledDrawerToKivBitmap::AlignedTextOut", [&] {
        const KivFont& scaled = KivFont::OfSize(font.Size() * scale_.factor);
        KivDrawerToKivBitmap::AlignedTextOut(scaled, text, scale_.ToDevice(rect), flags, colour, mode);
    });
}

KivColor KivScaledDrawerToKivBitmap::GetPixel(KivPoint point) const {
    if (!clip_.Contains(point.x, point.y)) return KivColor{0, 0, 0, 255};
    return KivDrawerToKivBitmap::GetPixel(KivPoint{scale_.Edge(point.x), scale_.Edge(point.y)});
}

void KivScaledDrawerToKivBitmap::SetPixel(KivPoint point, KivColor colour) {
    const KivRect device = scale_.ToDevice(KivRect{point.x, point.y, point.x, point.y});
    for (int32_t y = device.top; y <= device.bottom; ++y) {
        for (int32_t x = device.left; x <= device.right; ++x) KivDrawerToKivBitmap::SetPixel(KivPoint{x, y}, colour);
    }
}

// Pictures are filtered to their device size: the toolkit's own controls draw none, so this
// only serves pictures a product brings.
void KivScaledDrawerToKivBitmap::PatBlt(const KivRect& rect, const KivBitmap& pattern, KivDrawingMode mode) {
    KivDrawerToKivBitmap::PatBlt(scale_.ToDevice(rect), pattern, mode);
}

void KivScaledDrawerToKivBitmap::BitBlt(KivPoint target, const KivBitmap& source, const KivRect& sourceRect,
                                        KivDrawingMode mode) {
    StretchBlt(KivRect{target.x, target.y, target.x + sourceRect.Width() - 1, target.y + sourceRect.Height() - 1},
               source, sourceRect, mode);
}

void KivScaledDrawerToKivBitmap::AlphaMask(KivPoint target, const KivBitmap& source, const KivRect& sourceRect,
                                           const KivBitmap& mask, KivPoint maskOrigin, KivDrawingMode mode) {
    KivDrawerToKivBitmap::AlphaMask(KivPoint{scale_.Edge(target.x), scale_.Edge(target.y)}, source, sourceRect, mask,
                                    maskOrigin, mode);
}

void KivScaledDrawerToKivBitmap::StretchBlt(const KivRect& targetRect, const KivBitmap& source,
                                            const KivRect& sourceRect, KivDrawingMode mode) {
    KivDrawerToKivBitmap::StretchBlt(scale_.ToDevice(targetRect), source, sourceRect, mode);
}

void KivScaledDrawerToKivBitmap::StretchBltH(KivPoint target, int32_t width, const KivBitmap& source,
                                             const KivRect& sourceRect, KivDrawingMode mode) {
    StretchBlt(KivRect{target.x, target.y, target.x + width - 1, target.y + sourceRect.Height() - 1}, source,
               sourceRect, mode);
}

void KivScaledDrawerToKivBitmap::StretchBltV(KivPoint target, int32_t height, const KivBitmap& source,
                                             const KivRect& sourceRect, KivDrawingMode mode) {
    StretchBlt(KivRect{target.x, target.y, target.x + sourceRect.Width() - 1, target.y + height - 1}, source,
               sourceRect, mode);
}

void KivScaledDrawerToKivBitmap::TileBlt(const KivRect& targetRect, const KivBitmap& source, const KivRect& sourceRect,
                                         bool tileHorizontally, bool tileVertically, KivDrawingMode mode) {
    KivDrawerToKivBitmap::TileBlt(scale_.ToDevice(targetRect), source, sourceRect, tileHorizontally, tileVertically,
                                  mode);
}
