#pragma once
#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"

class KivEnvelope;

// The mapping between an envelope's x/y plane and the pixels of a plot area: x grows to the
// right, y upwards. The range's ends sit on the centres of the area's edge pixels, so the
// first and last points of a curve are drawn on the frame, never outside it.
class KivGraphPlot {
public:
    KivGraphPlot() = default;
    KivGraphPlot(const KivRect& area, const KivEnvelope& envelope);

    const KivRect& Area() const { return area_; }
    KivPointF ToPixel(double x, double y) const;
    double XAt(double pixelX) const;
    double YAt(double pixelY) const;
    // The change of x or y that one pixel of movement means.
    double XPerPixel() const;
    double YPerPixel() const;

private:
    KivRect area_{0, 0, -1, -1};
    double xMinimum_ = 0.0;
    double xMaximum_ = 1.0;
    double yMinimum_ = 0.0;
    double yMaximum_ = 1.0;
};
