#pragma once
#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/drawing/kiv_scale.h"

// The software drawer for a window shown larger or smaller than its layout: controls paint
// in logical pixels and it draws everything again at the device size, text from the font at
// the scaled size and lines as wide as a logical pixel, so nothing is an enlarged bitmap.
// Edges go through KivScale, which puts every rectangle edge on a whole device pixel: a
// one-pixel line at 200% covers exactly two device rows. Its clip rectangle is kept in
// logical pixels as controls set it, so that they get back exactly what they stored.
class KivScaledDrawerToKivBitmap : public KivDrawerToKivBitmap {
public:
    // The target's clip must already be the device pixels of `logicalClip`.
    KivScaledDrawerToKivBitmap(KivBitmap& target, KivScale scale, const KivRect& logicalClip) noexcept
        : KivDrawerToKivBitmap(target), scale_(scale), clip_(logicalClip) {}

    const KivScale& Scale() const noexcept { return scale_; }

    KivPoint GetClipTopLeft() const override { return KivPoint{clip_.left, clip_.top}; }
    KivPoint GetClipBottomRight() const override { return KivPoint{clip_.right, clip_.bottom}; }
    KivRect GetClipRect() const override { return clip_; }
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
    // A line of logical pixel centres, `width` logical pixels wide.
    void Line(KivPointF from, KivPointF to, KivColor colour, KivDrawingMode mode);
    double LineWidth() const noexcept;

    KivScale scale_;
    KivRect clip_;
    KivPointF position_;
};
