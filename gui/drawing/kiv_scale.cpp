#include "gui/drawing/kiv_scale.h"

#include <algorithm>
#include <cmath>

int32_t KivScale::Edge(int32_t edge) const noexcept {
    return static_cast<int32_t>(std::floor(factor * edge + 0.5));
}

KivRect KivScale::ToDevice(const KivRect& rect) const noexcept {
    if (rect.IsEmpty() || IsIdentity()) return rect;
    const int32_t left = Edge(rect.left), top = Edge(rect.top);
    return KivRect{left, top, std::max(left, Edge(rect.right + 1) - 1), std::max(top, Edge(rect.bottom + 1) - 1)};
}

KivPoint KivScale::ToLogical(KivPoint point) const noexcept {
    // The logical pixel x whose device span [Edge(x), Edge(x + 1)) holds the device pixel:
    // the largest x with factor * x < point + 0.5.
    const auto logical = [&](int32_t device) {
        return static_cast<int32_t>(std::ceil((device + 0.5) / factor)) - 1;
    };
    return KivPoint{logical(point.x), logical(point.y)};
}

KivRect KivScale::ToLogicalCovering(const KivRect& rect) const noexcept {
    if (rect.IsEmpty()) return rect;
    const KivPoint topLeft = ToLogical(KivPoint{rect.left, rect.top});
    const KivPoint bottomRight = ToLogical(KivPoint{rect.right, rect.bottom});
    return KivRect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

KivPoint KivScale::ToDeviceSize(KivPoint size) const noexcept {
    return KivPoint{std::max(1, Edge(size.x)), std::max(1, Edge(size.y))};
}

KivPoint KivScale::ToLogicalSize(KivPoint size) const noexcept {
    return KivPoint{std::max(1, static_cast<int32_t>(std::lround(size.x / factor))),
                    std::max(1, static_cast<int32_t>(std::lround(size.y / factor)))};
}

KivPointF KivScale::ToDeviceCorner(KivPointF centre) const noexcept {
    return KivPointF{factor * (centre.x + 0.5), factor * (centre.y + 0.5)};
}

double KivScale::Limited(double factor) noexcept {
    if (!std::isfinite(factor)) return 1.0;
    return std::clamp(factor, kSmallest, kLargest);
}
