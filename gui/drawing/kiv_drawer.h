#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "base/kiv_string.h"
#include "gui/drawing/kiv_color.h"
#include "gui/drawing/kiv_drawing_mode.h"
#include "gui/drawing/kiv_gradient_direction.h"
#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"

class KivBitmap;
class KivFont;

// The drawing operations every control paints with. The order of the virtual operations is
// part of the interface. Every operation combines what it draws with the pixels there by a
// drawing mode and never touches a pixel outside the clip rectangle.
//
// Geometry: integer points of lines, outlines and circles are pixel centres, and a
// rectangle's right and bottom are inclusive; polygon corners are pixel corners, so a
// polygon around (l, t), (r + 1, t), (r + 1, b + 1), (l, b + 1) covers exactly the pixels of
// the rectangle (l, t, r, b). Shapes are anti-aliased.
class KivDrawer : public KivObject {
public:
    // 1, 2: corners of the clip rectangle.
    virtual KivPoint GetClipTopLeft() const = 0;
    virtual KivPoint GetClipBottomRight() const = 0;

    // 3 to 12: style queries. A drawer without a style has no colours and no fonts: counts
    // are 0, lookups by name give -1, a colour is opaque black, a font null, a name empty.
    virtual int32_t GetStyleColorCount() const;
    virtual KivColor GetStyleColor(int32_t index) const;
    virtual int32_t FindStyleColor(const KivString& name) const;
    virtual KivString GetStyleColorName(int32_t index) const;
    virtual int32_t GetStyleFontCount() const;
    virtual const KivFont* GetStyleFont(int32_t index) const;
    virtual int32_t FindStyleFont(const KivString& name) const;
    virtual KivString GetStyleFontName(int32_t index) const;
    // A byte of per-drawer state that controls may leave for each other while painting.
    virtual uint8_t GetStateByte() const;
    virtual void SetStateByte(uint8_t state);

    // 13, 14: the clip rectangle (a new one is limited to the target).
    virtual KivRect GetClipRect() const = 0;
    virtual void SetClipRect(const KivRect& clip) = 0;

    // 15: `pattern` repeated over `rect`, anchored at the target's origin so that
    // neighbouring fills line up.
    virtual void PatBlt(const KivRect& rect, const KivBitmap& pattern, KivDrawingMode mode) = 0;
    // 16: `sourceRect` of `source` with its top-left corner at `target`. Each source pixel
    // acts as a colour of its own alpha (Copy stores the pixels as they are).
    virtual void BitBlt(KivPoint target, const KivBitmap& source, const KivRect& sourceRect, KivDrawingMode mode) = 0;
    // 17: as BitBlt, each source pixel's alpha multiplied by the alpha of the pixel of `mask`
    // at the same offset from `maskOrigin`; no mask pixel there means nothing is drawn.
    virtual void AlphaMask(KivPoint target, const KivBitmap& source, const KivRect& sourceRect, const KivBitmap& mask,
                           KivPoint maskOrigin, KivDrawingMode mode) = 0;
    // 18: `sourceRect` filtered to the size of `targetRect` (tent filter, widened when
    // shrinking; colours weighted by their alpha).
    virtual void StretchBlt(const KivRect& targetRect, const KivBitmap& source, const KivRect& sourceRect,
                            KivDrawingMode mode) = 0;
    // 19, 20: stretched to `width` (keeping the height), or to `height` (keeping the width).
    virtual void StretchBltH(KivPoint target, int32_t width, const KivBitmap& source, const KivRect& sourceRect,
                             KivDrawingMode mode) = 0;
    virtual void StretchBltV(KivPoint target, int32_t height, const KivBitmap& source, const KivRect& sourceRect,
                             KivDrawingMode mode) = 0;
    // 21: `sourceRect` over `targetRect`, repeated along the axes whose flag is set and
    // stretched along the others (textured panels and bars).
    virtual void TileBlt(const KivRect& targetRect, const KivBitmap& source, const KivRect& sourceRect,
                         bool tileHorizontally, bool tileVertically, KivDrawingMode mode) = 0;

    // 22: one line of text inside `rect` by the flags of KivTextAlignment, clipped to `rect`.
    virtual void AlignedTextOut(const KivFont& font, const KivString& text, const KivRect& rect, uint32_t flags,
                                KivColor colour, KivDrawingMode mode) = 0;

    // 23 to 26: lines one pixel wide from the current position, which then moves to the end.
    virtual void MoveTo(KivPoint point) = 0;
    virtual void LineTo(KivPoint point, KivColor colour, KivDrawingMode mode) = 0;
    virtual void MoveToF(KivPointF point) = 0;
    virtual void LineToF(KivPointF point, KivColor colour, KivDrawingMode mode) = 0;

    // 27 to 29: outline one pixel wide, area, and an area shaded from `first` to `second`.
    virtual void Rectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) = 0;
    virtual void FillRectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) = 0;
    virtual void FillRectangleGradient(const KivRect& rect, KivColor first, KivColor second,
                                       KivGradientDirection direction, KivDrawingMode mode) = 0;

    // 30, 31: with corners rounded by `radius` pixels.
    virtual void RoundRectangle(const KivRect& rect, int32_t radius, KivColor colour, KivDrawingMode mode) = 0;
    virtual void FillRoundRectangle(const KivRect& rect, int32_t radius, KivColor colour, KivDrawingMode mode) = 0;

    // 32, 33: a circle through the pixels `radius` away from the centre pixel; the disc
    // reaches from centre - radius to centre + radius inclusive.
    virtual void Circle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) = 0;
    virtual void FillCircle(KivPoint centre, int32_t radius, KivColor colour, KivDrawingMode mode) = 0;

    // 34, 35: connected lines through pixel centres; a polygon through pixel corners.
    virtual void PolyLine(const KivPoint* points, int32_t count, KivColor colour, KivDrawingMode mode) = 0;
    virtual void FillPolygon(const KivPoint* points, int32_t count, KivColor colour, KivDrawingMode mode) = 0;

    // 36: the pixel, or opaque black outside the clip. 37: stores the colour unchanged,
    // inside the clip only.
    virtual KivColor GetPixel(KivPoint point) const = 0;
    virtual void SetPixel(KivPoint point, KivColor colour) = 0;

    // 38, 39: the same with points between pixels, for curves and graphs.
    virtual void PolyLineF(const KivPointF* points, int32_t count, KivColor colour, KivDrawingMode mode) = 0;
    virtual void FillPolygonF(const KivPointF* points, int32_t count, KivColor colour, KivDrawingMode mode) = 0;

private:
    uint8_t state_ = 0;
};
