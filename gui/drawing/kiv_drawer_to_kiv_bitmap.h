#pragma once
#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_coverage_rasterizer.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/drawing/kiv_scale.h"

// The drawer that paints into a KivBitmap in software, for a window shown at a scale.
// Controls paint in logical pixels; the drawer draws at the device size, text from the font
// at the scaled size and lines as wide as a logical pixel, so that nothing is an enlarged
// bitmap. Edges go through KivScale, which puts every rectangle edge on a whole device pixel:
// a one-pixel line at 200% covers exactly two device rows. At a scale of 1 logical and
// device pixels are the same and the clip rectangle is the bitmap's; at any other scale the
// clip is kept in logical pixels as controls set it, so that they get back exactly what they
// stored. Every operation catches its own failures, reports them as "SYSTEM EXCEPTION!
// KivDrawerToKivBitmap::<operation>" and stops drawing.
class KivDrawerToKivBitmap : public KivDrawer {
public:
    // The bitmap must outlive the drawer.
    explicit KivDrawerToKivBitmap(KivBitmap& target) noexcept : target_(&target) {}
    // At `scale`; the target's clip must already be the device pixels of `logicalClip`.
    KivDrawerToKivBitmap(KivBitmap& target, KivScale scale, const KivRect& logicalClip) noexcept
        : target_(&target), scale_(scale), clip_(logicalClip) {}

    KivBitmap& Target() noexcept { return *target_; }
    void SetTarget(KivBitmap& target) noexcept { target_ = &target; }
    const KivScale& Scale() const noexcept { return scale_; }

    KivPoint GetClipTopLeft() const override;
    KivPoint GetClipBottomRight() const override;
    KivRect GetClipRect() const override;
    void SetClipRect(const KivRect& clip) override;

    void PatBlt(const KivRect& rect, const KivBitmap& pattern, KivDrawingMode mode) override;
    void BitBlt(KivPoint target, const KivBitmap& source, const KivRect& sourceRect, KivDrawingMode mode) override;
    void AlphaMask(KivPoint target, const KivBitmap& source, const KivRect& sourceRect, const KivBitmap& mask,
                   KivPoint maskOrigin, KivDrawingMode mode) override;
    void StretchBlt(const KivRect& targetRect, const KivBitmap& source, const KivRect& sourceRect,
                    KivDrawingMode mode) override;
    void StretchBltH(KivPoint target, int32_t width, const KivBitmap& source, const KivRect& sourceRect,
                     KivDrawingMode mode) override;
    void StretchBltV(KivPoint target, int32_t height, const KivBitmap& source, const KivRect& sourceRect,
                     KivDrawingMode mode) override;
    void TileBlt(const KivRect& targetRect, const KivBitmap& source, const KivRect& sourceRect, bool tileHorizontally,
                 bool tileVertically, KivDrawingMode mode) override;

    void AlignedTextOut(const KivFont& font, const KivString& text, const KivRect& rect, uint32_t flags,
                        KivColor colour, KivDrawingMode mode) override;

    void MoveTo(KivPoint point) override;
    void LineTo(KivPoint point, KivColor colour, KivDrawingMode mode) override;
    void MoveToF(KivPointF point) override;
    void LineToF(KivPointF point, KivColor colour, KivDrawingMode mode) override;

    void Rectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) override;
    void FillRectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) override;
    void FillRectangleGradient(const KivRect& rect, KivColor first, KivColor second, KivGradientDirection direction,
                               KivDrawingMode mode) override;
    void RoundRectangle(const KivRect& rect, int32_t radius, KivColor colour, KivDrawingMode mode) override;
    void FillRoundRectangle(const KivRect& rect, int32_t radius, KivColor colour, KivDrawingMode mode) override;
    void Circle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) override;
    void FillCircle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) override;
    void PolyLine(const KivPoint* points, int32_t count, KivColor colour, KivDrawingMode mode) override;
    void FillPolygon(const KivPoint* points, int32_t count, KivColor colour, KivDrawingMode mode) override;

    KivColor GetPixel(KivPoint point) const override;
    void SetPixel(KivPoint point, KivColor colour) override;

    void PolyLineF(const KivPointF* points, int32_t count, KivColor colour, KivDrawingMode mode) override;
    void FillPolygonF(const KivPointF* points, int32_t count, KivColor colour, KivDrawingMode mode) override;

private:
    // A line of logical pixel centres, as wide as a logical pixel.
    void Line(KivPointF from, KivPointF to, KivColor colour, KivDrawingMode mode);
    double LineWidth() const noexcept;
    // Lines `width` device pixels wide through points in device pixel-corner space, and the
    // inside of an outline given there (the forms every other line and polygon comes to).
    void StrokeCorners(const KivPointF* corners, int32_t count, double width, KivColor colour, KivDrawingMode mode);
    void FillOutline(const KivPointF* corners, int32_t count, KivColor colour, KivDrawingMode mode);

    KivBitmap* target_;
    KivScale scale_;
    KivRect clip_;  // logical; the bitmap's clip is used while the scale is 1
    KivPointF position_;
    KivCoverageRasterizer rasterizer_;
};
