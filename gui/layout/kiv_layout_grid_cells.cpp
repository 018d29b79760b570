#include "gui/layout/kiv_layout_grid_cells.h"

#include <algorithm>

namespace {

// The grid seen in fill order: "lines" are rows (columns for a vertical fill), each
// `width` cells wide; lines are added as needed.
class Occupancy {
public:
    explicit Occupancy(int32_t width) : width_(width) {}

    bool Fits(int32_t line, int32_t position, int32_t across, int32_t down) {
        if (position + across > width_) return false;
        Grow(line + down);
        for (int32_t l = line; l < line + down; ++l) {
            for (int32_t p = position; p < position + across; ++p) {
                if (taken_[Index(l, p)]) return false;
            }
        }
        return true;
    }
    void Take(int32_t line, int32_t position, int32_t across, int32_t down) {
        for (int32_t l = line; l < line + down; ++l) {
            for (int32_t p = position; p < position + across; ++p) taken_[Index(l, p)] = true;
        }
        usedLines_ = std::max(usedLines_, line + down);
    }
    int32_t UsedLines() const { return usedLines_; }

private:
    size_t Index(int32_t line, int32_t position) const { return static_cast<size_t>(line * width_ + position); }
    void Grow(int32_t lines) {
        if (static_cast<int32_t>(taken_.size()) < lines * width_) taken_.resize(static_cast<size_t>(lines * width_), false);
    }
    int32_t width_;
    int32_t usedLines_ = 0;
    std::vector<bool> taken_;
};

}  // namespace

KivLayoutGridPlan KivLayoutPlanGrid(const std::vector<KivLayoutGridCell>& spans, int32_t columns, int32_t rows,
                                    bool verticalFill) {
    const int32_t width = std::max(1, verticalFill ? rows : columns);
    Occupancy occupancy(width);
    KivLayoutGridPlan plan;
    int32_t line = 0;
    int32_t position = 0;
    for (const KivLayoutGridCell& span : spans) {
        const int32_t across = std::clamp(verticalFill ? span.rows : span.columns, 1, width);
        const int32_t down = std::max(1, verticalFill ? span.columns : span.rows);
        while (!occupancy.Fits(line, position, across, down)) {
            if (++position >= width) {
                position = 0;
                ++line;
            }
        }
        occupancy.Take(line, position, across, down);
        KivLayoutGridCell cell = verticalFill ? KivLayoutGridCell{line, position, down, across}
                                              : KivLayoutGridCell{position, line, across, down};
        plan.cells.push_back(cell);
    }
    const int32_t lines = std::max(occupancy.UsedLines(), verticalFill ? columns : rows);
    plan.columnCount = verticalFill ? lines : width;
    plan.rowCount = verticalFill ? width : lines;
    return plan;
}
