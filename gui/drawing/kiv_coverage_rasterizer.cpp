#include "gui/drawing/kiv_coverage_rasterizer.h"

#include <algorithm>
#include <cmath>

#include "gui/drawing/kiv_span_painter.h"

namespace {
// Beyond this the coordinates are surely off the bitmap; keeps the integer conversions safe.
constexpr double kFarAway = 1.0e7;

double Limit(double value) { return std::clamp(value, -kFarAway, kFarAway); }
}  // namespace

void KivCoverageRasterizer::Clear() noexcept { edges_.clear(); }

void KivCoverageRasterizer::AddEdge(KivPointF from, KivPointF to) {
    if (!(from.y == from.y && to.y == to.y && from.x == from.x && to.x == to.x)) return;  // NaN
    edges_.push_back(Edge{KivPointF{Limit(from.x), Limit(from.y)}, KivPointF{Limit(to.x), Limit(to.y)}});
}

void KivCoverageRasterizer::AddPolygon(const KivPointF* points, int32_t count) {
    for (int32_t i = 0; i < count; ++i) AddEdge(points[i], points[(i + 1) % count]);
}

KivRect KivCoverageRasterizer::CoveredArea(const KivRect& clip) const {
    if (edges_.empty()) return KivRect{};
    double left = edges_[0].from.x, right = left, top = edges_[0].from.y, bottom = top;
    for (const Edge& edge : edges_) {
        left = std::min({left, edge.from.x, edge.to.x});
        right = std::max({right, edge.from.x, edge.to.x});
        top = std::min({top, edge.from.y, edge.to.y});
        bottom = std::max({bottom, edge.from.y, edge.to.y});
    }
    const KivRect touched{static_cast<int32_t>(std::floor(left)), static_cast<int32_t>(std::floor(top)),
                          static_cast<int32_t>(std::ceil(right)), static_cast<int32_t>(std::ceil(bottom))};
    return touched.Intersection(clip);
}

void KivCoverageRasterizer::Paint(KivSpanPainter& painter) {
    const KivRect area = CoveredArea(painter.Clip());
    if (area.IsEmpty() || painter.DrawsNothing()) {
        edges_.clear();
        return;
    }
    gridWidth_ = area.Width();
    gridHeight_ = area.Height();
    // Two spare cells per row: an edge on the right border still adds to the cell after it.
    grid_.assign(static_cast<size_t>(gridWidth_ + 2) * gridHeight_, 0.0f);
    for (const Edge& edge : edges_) Accumulate(edge, area);
    coverage_.resize(static_cast<size_t>(gridWidth_));
    for (int32_t y = 0; y < gridHeight_; ++y) {
        const float* cells = grid_.data() + static_cast<size_t>(y) * (gridWidth_ + 2);
        float sum = 0.0f;
        bool any = false;
        for (int32_t x = 0; x < gridWidth_; ++x) {
            sum += cells[x];
            const float inside = std::min(1.0f, std::fabs(sum));
            coverage_[x] = static_cast<uint8_t>(inside * 255.0f + 0.5f);
            any = any || coverage_[x] != 0;
        }
        if (any) painter.Covered(area.top + y, area.left, gridWidth_, coverage_.data());
    }
    edges_.clear();
}

void KivCoverageRasterizer::Accumulate(const Edge& edge, const KivRect& area) {
    // Local coordinates; everything left of the area is pressed onto its left border, where
    // it still counts fully for the pixels to its right, and everything right of it onto the
    // right border, where it no longer matters. A slanted edge crossing a border is split there
    // first so that each pressed piece stays straight.
    const double x0 = edge.from.x - area.left, y0 = edge.from.y - area.top;
    const double x1 = edge.to.x - area.left, y1 = edge.to.y - area.top;
    if (y0 == y1) return;
    const double width = gridWidth_;
    // Parameters along the edge where it crosses a border, in order.
    double stops[4] = {0.0, 0.0, 0.0, 1.0};
    int32_t count = 1;
    for (double border : {0.0, width}) {
        if ((x0 < border && x1 > border) || (x0 > border && x1 < border)) stops[count++] = (border - x0) / (x1 - x0);
    }
    if (count == 3 && stops[2] < stops[1]) std::swap(stops[1], stops[2]);
    stops[count++] = 1.0;
    for (int32_t i = 0; i + 1 < count; ++i) {
        const double t0 = stops[i], t1 = stops[i + 1];
        AccumulateLocal(std::clamp(x0 + (x1 - x0) * t0, 0.0, width), y0 + (y1 - y0) * t0,
                        std::clamp(x0 + (x1 - x0) * t1, 0.0, width), y0 + (y1 - y0) * t1);
    }
}

void KivCoverageRasterizer::AccumulateLocal(double x0, double y0, double x1, double y1) {
    if (y0 == y1) return;
    float direction = 1.0f;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        direction = -1.0f;
    }
    const double height = gridHeight_;
    if (y1 <= 0.0 || y0 >= height) return;
    const double slope = (x1 - x0) / (y1 - y0);
    double x = x0;
    if (y0 < 0.0) {
        x = std::clamp(x - y0 * slope, 0.0, static_cast<double>(gridWidth_));
        y0 = 0.0;
    }
    const double yEnd = std::min(y1, height);
    const size_t stride = static_cast<size_t>(gridWidth_) + 2;
    for (int32_t row = static_cast<int32_t>(y0); row < yEnd; ++row) {
        float* cells = grid_.data() + static_cast<size_t>(row) * stride;
        const double dy = std::min(row + 1.0, yEnd) - std::max(static_cast<double>(row), y0);
        // Rounding may carry a walked position a hair past the borders the edge was cut to.
        const double xNext = std::clamp(x + slope * dy, 0.0, static_cast<double>(gridWidth_));
        const float d = static_cast<float>(dy) * direction;
        const double left = std::min(x, xNext), right = std::max(x, xNext);
        const double leftFloor = std::floor(left);
        const auto leftCell = static_cast<int32_t>(leftFloor);
        const auto rightCell = static_cast<int32_t>(std::ceil(right));
        if (rightCell <= leftCell + 1) {
            // Within one cell: the area right of the edge's mean x goes to the next cell.
            const auto share = static_cast<float>(0.5 * (x + xNext) - leftFloor);
            cells[leftCell] += d - d * share;
            cells[leftCell + 1] += d * share;
        } else {
            const double s = 1.0 / (right - left);
            const double leftFraction = left - leftFloor;
            const double firstArea = 0.5 * s * (1.0 - leftFraction) * (1.0 - leftFraction);
            const double rightFraction = right - rightCell + 1.0;
            const double lastArea = 0.5 * s * rightFraction * rightFraction;
            cells[leftCell] += static_cast<float>(d * firstArea);
            if (rightCell == leftCell + 2) {
                cells[leftCell + 1] += static_cast<float>(d * (1.0 - firstArea - lastArea));
            } else {
                const double secondArea = s * (1.5 - leftFraction);
                cells[leftCell + 1] += static_cast<float>(d * (secondArea - firstArea));
                for (int32_t cell = leftCell + 2; cell < rightCell - 1; ++cell) cells[cell] += static_cast<float>(d * s);
                const double beforeLast = secondArea + (rightCell - leftCell - 3) * s;
                cells[rightCell - 1] += static_cast<float>(d * (1.0 - beforeLast - lastArea));
            }
            cells[rightCell] += static_cast<float>(d * lastArea);
        }
        x = xNext;
    }
}
