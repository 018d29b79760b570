#pragma once
#include <cstdint>
#include <vector>

#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"

class KivSpanPainter;

// Anti-aliased filling of closed outlines by exact area coverage. Each edge adds its signed
// area to an accumulation grid; a running sum along every row then gives how much of each
// pixel lies inside. Coordinates are in pixel-corner space: pixel (x, y) is the unit square
// from (x, y) to (x + 1, y + 1). Overlapping outlines of the same orientation merge (the
// coverage is capped at full), so a stroke may be built from overlapping pieces.
//
// Only + - * / are used, so every platform computes the same coverage.
class KivCoverageRasterizer {
public:
    void Clear() noexcept;
    void AddEdge(KivPointF from, KivPointF to);
    // Adds the closed outline through `points` (the last point joins the first).
    void AddPolygon(const KivPointF* points, int32_t count);
    // Paints what was added inside the painter's clip rectangle, then forgets it.
    void Paint(KivSpanPainter& painter);

private:
    struct Edge {
        KivPointF from;
        KivPointF to;
    };
    KivRect CoveredArea(const KivRect& clip) const;
    void Accumulate(const Edge& edge, const KivRect& area);
    void AccumulateLocal(double x0, double y0, double x1, double y1);

    std::vector<Edge> edges_;
    std::vector<float> grid_;
    std::vector<uint8_t> coverage_;
    int32_t gridWidth_ = 0;
    int32_t gridHeight_ = 0;
};
