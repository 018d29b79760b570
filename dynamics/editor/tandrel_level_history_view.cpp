#include "dynamics/editor/tandrel_level_history_view.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_number.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/text/kiv_text_alignment.h"

namespace {

constexpr KivColor kWell = KivColor::Rgb(30, 34, 41);
constexpr KivColor kGrid = KivColor::Rgb(48, 54, 64);
constexpr KivColor kInput = KivColor::Rgb(92, 100, 114);
constexpr KivColor kOutput = KivColor::Rgb(52, 132, 235);
// Translucent, so that the levels show through where the reduction hangs over them.
constexpr KivColor kReduction = KivColor::Rgb(255, 164, 40).WithAlpha(150);
constexpr KivColor kLabel = KivColor::Rgb(160, 168, 180);
constexpr KivColor kFrame = KivColor::Rgb(22, 25, 30);
constexpr int32_t kMarks[] = {0, -12, -24, -36, -48, -60};
constexpr int32_t kLabelHeight = 12;
constexpr uint32_t kRightMiddle = KivTextAlignment::kRight | KivTextAlignment::kVerticalCentre;

double DecibelsOf(float amplitude) {
    return amplitude > 0.0f ? 20.0 * std::log10(static_cast<double>(amplitude)) : -1000.0;
}

}  // namespace

KivRect TandrelLevelHistoryView::PlotRect() const {
    const KivPoint size = GetSize();
    // Inside a one-pixel frame; the label column on the left.
    return KivRect{kAxisWidth + 1, 1, size.x - 2, size.y - 2};
}

bool TandrelLevelHistoryView::Covers(const KivRect& area) const {
    const KivRect at = GetWindowRect();
    const KivRect plot = PlotRect().Offset(at.left, at.top);
    return area.Intersection(plot) == area;
}

int32_t TandrelLevelHistoryView::Capacity() const { return std::max(1, PlotRect().Width() / kColumnWidth); }

void TandrelLevelHistoryView::OnSize() {
    KivControl::OnSize();
    Fit();
}

void TandrelLevelHistoryView::Fit() {
    const auto capacity = static_cast<size_t>(Capacity());
    if (capacity == columns_.size()) return;
    // Keeps the newest columns that still fit.
    std::vector<TandrelLevelHistory::Column> kept(capacity);
    for (size_t age = 0; age < capacity && age < columns_.size(); ++age)
        kept[capacity - 1 - age] = ColumnAt(static_cast<int32_t>(age));
    columns_ = std::move(kept);
    taken_.resize(capacity);
    newest_ = static_cast<int32_t>(capacity) - 1;
}

TandrelLevelHistory::Column TandrelLevelHistoryView::ColumnAt(int32_t age) const {
    const auto count = static_cast<int32_t>(columns_.size());
    if (age < 0 || age >= count) return {};
    return columns_[static_cast<size_t>((newest_ - age + count) % count)];
}

int32_t TandrelLevelHistoryView::RowOf(double decibels) const {
    const KivRect plot = PlotRect();
    const double below = std::clamp(-decibels / -kBottomDecibels, 0.0, 1.0);
    return plot.top + static_cast<int32_t>(std::lround(below * (plot.Height() - 1)));
}

void TandrelLevelHistoryView::Start() {
    if (!source_) return;
    source_->Restart();
    if (KivWindowSystem* system = KivWindows::System()) system->SetTimer(*this, kFrameMilliseconds);
}

void TandrelLevelHistoryView::Stop() {
    if (KivWindowSystem* system = KivWindows::System()) system->SetTimer(*this, 0);
}

void TandrelLevelHistoryView::OnTimer() {
    if (!source_) return;
    Fit();
    const int32_t taken = source_->Take(taken_.data(), static_cast<int32_t>(taken_.size()));
    if (taken == 0) return;
    const auto count = static_cast<int32_t>(columns_.size());
    for (int32_t i = 0; i < taken; ++i) {
        newest_ = (newest_ + 1) % count;
        columns_[static_cast<size_t>(newest_)] = taken_[static_cast<size_t>(i)];
    }
    ++frames_;
    // Straight to the window system, not through the window's invalidator: that one merges
    // requests for 50 ms, which would hold the history to 20 frames a second. This runs on
    // the GUI thread, where the window system may be called.
    const KivRect plot = PlotRect();
    if (KivWindowSystem* system = KivWindows::System()) system->Invalidate(*this, &plot);
}

void TandrelLevelHistoryView::Paint(KivDrawer& drawer, const KivRect& dirty) {
    Fit();
    const KivRect outer = GetWindowRect();
    const KivRect plot = PlotRect().Offset(outer.left, outer.top);
    // A frame repaints the plot alone: the labels left of it are drawn only when uncovered.
    const bool labels = !dirty.Intersection(KivRect{outer.left, outer.top, plot.left - 2, outer.bottom}).IsEmpty();
    drawer.Rectangle(KivRect{plot.left - 1, plot.top - 1, plot.right + 1, plot.bottom + 1}, kFrame, KivDrawingMode::kCopy);
    drawer.FillRectangle(plot, kWell, KivDrawingMode::kCopy);
    for (const int32_t decibels : kMarks) {
        const int32_t y = RowOf(decibels) + outer.top;
        if (decibels != 0 && decibels != static_cast<int32_t>(kBottomDecibels))
            drawer.FillRectangle(KivRect{plot.left, y, plot.right, y}, kGrid, KivDrawingMode::kCopy);
        // The end labels stay inside the control: 0 dB hangs below the top, -60 dB sits on the bottom.
        const int32_t labelTop = std::clamp(y - kLabelHeight / 2, outer.top, outer.bottom + 1 - kLabelHeight);
        const KivRect label{outer.left, labelTop, plot.left - 6, labelTop + kLabelHeight - 1};
        if (labels)
            KivControlPainting::Text(drawer, KivStyleFont::kSmall, KivNumber::IntegerToText(decibels), label,
                                     kRightMiddle, kLabel);
    }
    // The areas are painted row by row in runs of neighbouring columns: a few long fills per
    // row instead of a short one per column and row, which costs a frame a fraction. Every
    // run is a rectangle, so its edges land on whole pixels at any size of the editor.
    const auto count = static_cast<int32_t>(columns_.size());
    const int32_t shown = std::min(count, plot.Width() / kColumnWidth);
    inputTops_.resize(static_cast<size_t>(shown));
    outputTops_.resize(static_cast<size_t>(shown));
    reductionBottoms_.resize(static_cast<size_t>(shown));
    // Index 0 is the oldest shown column, at the left.
    for (int32_t index = 0; index < shown; ++index) {
        const TandrelLevelHistory::Column column = ColumnAt(shown - 1 - index);
        inputTops_[index] = RowOf(DecibelsOf(column.input)) + outer.top;
        outputTops_[index] = RowOf(DecibelsOf(column.output)) + outer.top;
        reductionBottoms_[index] = RowOf(DecibelsOf(column.reduction)) + outer.top;
    }
    const int32_t firstLeft = plot.right + 1 - shown * kColumnWidth;
    const auto paintRuns = [&](int32_t y, KivColor colour, KivDrawingMode mode, auto&& covers) {
        for (int32_t index = 0; index < shown;) {
            if (!covers(index, y)) {
                ++index;
                continue;
            }
            const int32_t start = index;
            while (index < shown && covers(index, y)) ++index;
            drawer.FillRectangle(KivRect{firstLeft + start * kColumnWidth, y, firstLeft + index * kColumnWidth - 1, y},
                                 colour, mode);
        }
    };
    for (int32_t y = plot.top; y <= plot.bottom; ++y) {
        // The input shows where it stands above the output; below, the output covers it.
        paintRuns(y, kInput, KivDrawingMode::kCopy,
                  [&](int32_t i, int32_t row) { return row >= inputTops_[i] && row < outputTops_[i] && row < plot.bottom; });
        paintRuns(y, kOutput, KivDrawingMode::kCopy,
                  [&](int32_t i, int32_t row) { return row >= outputTops_[i] && outputTops_[i] < plot.bottom; });
        paintRuns(y, kReduction, KivDrawingMode::kAlphablend,
                  [&](int32_t i, int32_t row) { return row <= reductionBottoms_[i] && reductionBottoms_[i] > plot.top; });
    }
}
