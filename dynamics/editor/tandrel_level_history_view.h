#pragma once
#include <cstdint>
#include <vector>

#include "dynamics/processing/tandrel_level_history.h"
#include "gui/core/kiv_control.h"
#include "gui/core/kiv_opaque_area.h"

// The scrolling level history: the last seconds of input level (grey area), output level
// (blue area) and gain reduction (amber, hanging from the top), newest on the right, on one
// decibel scale from 0 dB at the top to -60 dB at the bottom. Each column is two logical
// pixels, a sixtieth of a second, so the control's width sets how many seconds it shows.
//
// Its own timer (kFrameMilliseconds, faster than the editor's refresh) takes the columns the
// audio thread wrote meanwhile and repaints the plot when there were any; when none came
// (silence, or no processing) nothing is repainted.
class TandrelLevelHistoryView : public KivControl, private KivOpaqueArea {
public:
    TandrelLevelHistoryView() { Extensions().Set(kKivOpaqueAreaTag, static_cast<KivOpaqueArea*>(this)); }

    static constexpr int32_t kFrameMilliseconds = 25;
    static constexpr int32_t kColumnWidth = 2;
    static constexpr int32_t kAxisWidth = 34;
    static constexpr double kBottomDecibels = -60.0;

    // The columns come from `source` (the effect's), which must outlive the view's timer.
    void SetSource(TandrelLevelHistory* source) { source_ = source; }

    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void OnSize() override;
    // The plot is painted whole: its repaints need nothing painted beneath.
    bool Covers(const KivRect& area) const override;
    // Takes the new columns; repaints the plot when any came.
    void OnTimer() override;

    // Starts showing from now (the editor opened) and runs the timer; or stops it.
    void Start();
    void Stop();

    // The plot, in the control's coordinates, and how many columns it holds.
    KivRect PlotRect() const;
    int32_t Capacity() const;
    // Column `age` back from the newest (0 is the newest); empty columns before any arrived.
    TandrelLevelHistory::Column ColumnAt(int32_t age) const;
    // Frames that had something new to show.
    int64_t GetFrameCount() const { return frames_; }
    // The row of the plot (control coordinates) where a level in decibels is drawn.
    int32_t RowOf(double decibels) const;

private:
    // Sizes the ring to the plot (the loader places controls without telling them).
    void Fit();

    TandrelLevelHistory* source_ = nullptr;
    std::vector<TandrelLevelHistory::Column> columns_;  // a ring: newest_ is the newest
    std::vector<TandrelLevelHistory::Column> taken_;
    // Rows of the columns shown, worked out once per paint.
    std::vector<int32_t> inputTops_;
    std::vector<int32_t> outputTops_;
    std::vector<int32_t> reductionBottoms_;
    int32_t newest_ = 0;
    int64_t frames_ = 0;
};
