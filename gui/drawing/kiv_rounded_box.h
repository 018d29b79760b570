#pragma once
#include "gui/drawing/kiv_rect.h"

class KivSpanPainter;

// Rectangles with round corners, and so circles, painted by their distance field: a pixel's
// coverage follows the signed distance from its centre to the outline, which for shapes this
// smooth is within a few per cent of the exact area. Needs only square roots, which every
// platform rounds the same way.
struct KivRoundedBox {
    // Continuous edges in pixel-corner space (pixel x spans x..x+1) and the corner radius.
    double left;
    double top;
    double right;
    double bottom;
    double radius;

    // The inside, anti-aliased along the outline.
    void Fill(KivSpanPainter& painter) const;
    // A line `width` pixels wide centred on the outline.
    void Stroke(KivSpanPainter& painter, double width = 1.0) const;

private:
    double SignedDistance(double x, double y) const;
    template <typename CoverageOfDistance>
    void Paint(KivSpanPainter& painter, double margin, CoverageOfDistance coverageOf) const;
};
