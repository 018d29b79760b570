#pragma once
#include <cstdint>

#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"

// How a window's logical pixels (the ones controls are laid out and paint in) map to the
// device pixels of its native window and back buffer. A logical pixel edge e lands on the
// device edge round(factor * e), so shapes that share an edge in logical pixels share it on
// the device too, and every edge is a whole device pixel: lines and fills stay sharp at any
// factor instead of being smeared over two rows. Something at least one logical pixel wide
// keeps at least one device pixel, so thin lines do not vanish below 100%.
struct KivScale {
    static constexpr double kSmallest = 0.25;
    static constexpr double kLargest = 8.0;

    double factor = 1.0;

    bool IsIdentity() const noexcept { return factor == 1.0; }
    // The device edge of logical edge `edge`.
    int32_t Edge(int32_t edge) const noexcept;
    // The device pixels of a logical rectangle (inclusive corners, as KivRect).
    KivRect ToDevice(const KivRect& rect) const noexcept;
    // The logical pixels that cover a device rectangle, so that painting them repaints it.
    KivRect ToLogicalCovering(const KivRect& rect) const noexcept;
    // The logical pixel holding device pixel `point`.
    KivPoint ToLogical(KivPoint point) const noexcept;
    // The device size of something `size` logical pixels large, and back (rounded).
    KivPoint ToDeviceSize(KivPoint size) const noexcept;
    KivPoint ToLogicalSize(KivPoint size) const noexcept;
    // A point between pixels (pixel-centre coordinates) in device pixel-corner space.
    KivPointF ToDeviceCorner(KivPointF centre) const noexcept;
    // A factor limited to what the toolkit paints (a quarter to eight times).
    static double Limited(double factor) noexcept;
};
