#include "gui/drawing/kiv_rounded_box.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gui/drawing/kiv_span_painter.h"

namespace {
uint8_t ToCoverage(double inside) { return static_cast<uint8_t>(std::clamp(inside, 0.0, 1.0) * 255.0 + 0.5); }
}  // namespace

double KivRoundedBox::SignedDistance(double x, double y) const {
    const double halfWidth = 0.5 * (right - left), halfHeight = 0.5 * (bottom - top);
    const double r = std::clamp(radius, 0.0, std::min(halfWidth, halfHeight));
    const double qx = std::fabs(x - 0.5 * (left + right)) - halfWidth + r;
    const double qy = std::fabs(y - 0.5 * (top + bottom)) - halfHeight + r;
    const double outsideX = std::max(qx, 0.0), outsideY = std::max(qy, 0.0);
    double outside = std::max(outsideX, outsideY);
    if (outsideX > 0.0 && outsideY > 0.0) outside = std::sqrt(outsideX * outsideX + outsideY * outsideY);
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

template <typename CoverageOfDistance>
void KivRoundedBox::Paint(KivSpanPainter& painter, double margin, CoverageOfDistance coverageOf) const {
    if (!(right >= left && bottom >= top) || painter.DrawsNothing()) return;
    const KivRect reach = KivRect{static_cast<int32_t>(std::floor(std::max(left - margin, -1.0e7))),
                                  static_cast<int32_t>(std::floor(std::max(top - margin, -1.0e7))),
                                  static_cast<int32_t>(std::ceil(std::min(right + margin, 1.0e7))),
                                  static_cast<int32_t>(std::ceil(std::min(bottom + margin, 1.0e7)))}
                              .Intersection(painter.Clip());
    if (reach.IsEmpty()) return;
    // Rows between the corners have a middle part at least a pixel inside the outline, where
    // the distance is below -1 and the coverage is that of the deep inside.
    const double centreX = 0.5 * (left + right), centreY = 0.5 * (top + bottom);
    const double halfWidth = 0.5 * (right - left), halfHeight = 0.5 * (bottom - top);
    const double cornerRadius = std::clamp(radius, 0.0, std::min(halfWidth, halfHeight));
    const uint8_t deepInside = ToCoverage(coverageOf(-2.0));
    std::vector<uint8_t> coverage(static_cast<size_t>(reach.Width()));
    for (int32_t y = reach.top; y <= reach.bottom; ++y) {
        int32_t middleFrom = reach.right + 1, middleTo = reach.right;
        if (std::fabs(y + 0.5 - centreY) <= halfHeight - std::max(cornerRadius, 1.0) && halfWidth > 1.0) {
            middleFrom = std::max(reach.left, static_cast<int32_t>(std::ceil(centreX - halfWidth + 1.0 - 0.5)));
            middleTo = std::min(reach.right, static_cast<int32_t>(std::floor(centreX + halfWidth - 1.0 - 0.5)));
        }
        for (int32_t x = reach.left; x <= reach.right; ++x) {
            coverage[x - reach.left] = (x >= middleFrom && x <= middleTo)
                                           ? deepInside
                                           : ToCoverage(coverageOf(SignedDistance(x + 0.5, y + 0.5)));
        }
        painter.Covered(y, reach.left, reach.Width(), coverage.data());
    }
}

void KivRoundedBox::Fill(KivSpanPainter& painter) const {
    Paint(painter, 1.0, [](double distance) { return 0.5 - distance; });
}

void KivRoundedBox::Stroke(KivSpanPainter& painter, double width) const {
    // A pixel whose centre lies within the line's half width less half a pixel of the outline
    // is fully covered, and coverage falls to nothing over the next pixel: one pixel wide, a
    // pixel centred on the outline is covered and one a pixel away is not.
    const double reach = 0.5 * (width + 1.0);
    Paint(painter, reach + 0.5, [reach](double distance) { return reach - std::fabs(distance); });
}
