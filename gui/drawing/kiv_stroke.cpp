#include "gui/drawing/kiv_stroke.h"

#include <cmath>

#include "gui/drawing/kiv_coverage_rasterizer.h"

namespace KivStroke {

void AddSegment(KivCoverageRasterizer& rasterizer, KivPointF from, KivPointF to, double width) {
    const double half = 0.5 * width;
    double dx = to.x - from.x, dy = to.y - from.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length > 0.0) {
        dx = dx / length * half;
        dy = dy / length * half;
    } else {
        dx = half;  // a single point: a square dot
        dy = 0.0;
    }
    // Along the line by (dx, dy), across it by (-dy, dx).
    const KivPointF corners[4] = {
        {from.x - dx + dy, from.y - dy - dx},
        {to.x + dx + dy, to.y + dy - dx},
        {to.x + dx - dy, to.y + dy + dx},
        {from.x - dx - dy, from.y - dy + dx},
    };
    rasterizer.AddPolygon(corners, 4);
}

}  // namespace KivStroke
