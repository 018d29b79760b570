#include "dynamics/gain/kiv_breakpoint_rows.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kNoThreshold = 1.7e308;

double Decibels(double level) { return 20.0 * std::log10(level); }

KivBreakpointRow ThresholdRow(const KivDynamicsProcessorDescription& processor) {
    bool compressor = processor.compressor != 0;
    return {Decibels(processor.threshold), compressor ? kKivNoRatio : processor.ratio,
            compressor ? processor.ratio : 1.0,  processor.knee,
            processor.range,                     kKivSilenceDecibels};
}

// Equal thresholds keep their order, so processor 1 stays before processor 2.
void SortRows(KivBreakpointRows& rows) {
    int32_t low = 0;
    int32_t high = rows.Count() - 1;
    while (low < high) {
        int32_t lastSwap = low;
        for (int32_t i = low; i < high; ++i)
            if (rows[i].x - rows[i + 1].x > 1e-50) std::swap(rows[i], rows[lastSwap = i + 1]);
        high = lastSwap - 1;  // rows[lastSwap..] are in place now
        for (int32_t i = high; i > low; --i)
            if (rows[i - 1].x - rows[i].x > 1e-50) std::swap(rows[i - 1], rows[lastSwap = i]);
        low = lastSwap;
    }
}

void Shift(KivBreakpointRows& rows, int32_t end, double delta) {
    for (int32_t i = 0; i < end; ++i) rows[i].y += delta;
}

void RemoveBetweenFirstAnd(KivBreakpointRows& rows, int32_t end) {
    for (int32_t i = end - 1; i >= 1; --i) rows.RemoveAt(i);
}

// Once the level is `range` dB above a compressor threshold, the slope returns to the one
// below the threshold.
int32_t WalkCompressorRow(KivBreakpointRows& rows, int32_t i) {
    const KivBreakpointRow row = rows[i];
    bool last = i == rows.Count() - 1;
    if (row.ratioAbove > 0.0 && !last && row.x + row.range < rows[i + 1].x - 1e-20)
        rows.Insert(i + 1, {row.x + row.range, kKivNoRatio, rows[i - 1].ratioAbove, row.knee, kKivFullRange, row.y});
    return i + 1;
}

// The segment below the threshold does not run at unity (or there is room below the range):
// expansion starts part way down and what lies below moves to meet it.
int32_t StartExpansionBelow(KivBreakpointRows& rows, int32_t i, double lowest) {
    const KivBreakpointRow row = rows[i];
    const KivBreakpointRow prev = rows[i - 1];
    double ratio = row.ratioBelow;
    double xs = std::max((prev.x + row.x) / 2.0, lowest);
    double ys = row.y - (row.x - xs) * ratio;
    if (ys > kKivSilenceDecibels) {
        rows[i].ratioAbove = prev.ratioAbove;
        rows.Insert(i, {xs, ratio, ratio, row.knee, kKivFullRange, ys});
        Shift(rows, i, ys - (row.y - prev.y) / 2.0 - prev.y);
        return i + 2;
    }
    xs = row.x - (row.y - kKivSilenceDecibels) / ratio;
    RemoveBetweenFirstAnd(rows, i);
    rows.Insert(1, {xs, ratio, row.ratioAbove, row.knee, kKivFullRange, kKivSilenceDecibels});
    return 3;
}

// The segment below runs at unity right up to the threshold: it takes the expansion slope.
int32_t ExpandFromPrevious(KivBreakpointRows& rows, int32_t i) {
    const KivBreakpointRow row = rows[i];
    const KivBreakpointRow prev = rows[i - 1];
    double ratio = row.ratioBelow;
    double y0 = row.y - (row.x - prev.x) * ratio;
    if (y0 < kKivSilenceDecibels) {
        double xs = row.x - (row.y - kKivSilenceDecibels) / ratio;
        rows.Insert(i, {xs, row.ratioBelow, ratio, row.knee, row.range, kKivSilenceDecibels});
        RemoveBetweenFirstAnd(rows, i);
        return 3;
    }
    rows[i - 1].ratioAbove = ratio;
    Shift(rows, i, y0 - prev.y);
    return i + 1;
}

int32_t WalkExpanderRow(KivBreakpointRows& rows, int32_t i) {
    const KivBreakpointRow& row = rows[i];
    const KivBreakpointRow& prev = rows[i - 1];
    double lowest = std::fabs(row.range - kKivFullRange) < 1e-50 ? kKivSilenceDecibels : row.x - row.range;
    if (prev.x < lowest - 1e-20 || std::fabs(prev.ratioAbove - 1.0) >= 1e-50)
        return StartExpansionBelow(rows, i, lowest);
    return ExpandFromPrevious(rows, i);
}

void WalkRows(KivBreakpointRows& rows) {
    for (int32_t i = 1; i < rows.Count();) {
        const KivBreakpointRow& prev = rows[i - 1];
        KivBreakpointRow& row = rows[i];
        row.y = (row.x - prev.x) / prev.ratioAbove + prev.y;
        i = row.ratioBelow <= 0.0 ? WalkCompressorRow(rows, i) : WalkExpanderRow(rows, i);
    }
}

double InterpolateY(const KivBreakpointRow& a, const KivBreakpointRow& b, double x) {
    if (std::fabs(b.x - a.x) < 1e-50) return b.y;
    return a.y + (x - a.x) * (b.y - a.y) / (b.x - a.x);
}

// Rows pushed below silence by an expansion are cut where their segment crosses it.
void ApplySilenceFloor(KivBreakpointRows& rows) {
    int32_t first = 0;
    while (first < rows.Count() && rows[first].y < kKivSilenceDecibels - 1e-50) ++first;
    if (first == 0 || first == rows.Count()) return;
    KivBreakpointRow& cut = rows[first - 1];
    const KivBreakpointRow& above = rows[first];
    cut.x += (kKivSilenceDecibels - cut.y) * (above.x - cut.x) / (above.y - cut.y);
    cut.y = kKivSilenceDecibels;
    for (int32_t i = 0; i < first - 1; ++i) rows[i].y = kKivSilenceDecibels;
}

// Below the gate threshold the gate alone decides: a straight line in decibels from the
// bottom at threshold - size up to the curve at the threshold.
void ApplyGate(KivBreakpointRows& rows, const KivDynamicsGateDescription& gate) {
    double threshold = Decibels(gate.threshold);
    double bottom = std::max(-1000.0, Decibels(gate.bottom));
    int32_t k = 1;
    while (k < rows.Count() - 1 && rows[k].x < threshold - 1e-50) ++k;
    double y = InterpolateY(rows[k - 1], rows[k], threshold);
    RemoveBetweenFirstAnd(rows, k);
    rows.Insert(1, {threshold, kKivNoRatio, 1.0, gate.knee, kKivFullRange, y});
    rows.Insert(1, {threshold - gate.size, kKivNoRatio, 1.0, gate.knee, kKivFullRange, bottom});
    rows[0].y = std::min(rows[0].y, bottom);
}

}  // namespace

double KivBuildBreakpointRows(const KivDynamicsProcessorDescription* processors, int32_t count,
                              const KivDynamicsGateDescription* gate, double topLevel, KivBreakpointRows& rows) {
    rows.Clear();
    rows.Add({kKivSilenceDecibels, kKivNoRatio, 1.0, 0.0, kKivFullRange, kKivSilenceDecibels});
    double lowest = kNoThreshold;
    for (int32_t p = 0; p < count; ++p) {
        rows.Add(ThresholdRow(processors[p]));
        lowest = std::min(lowest, processors[p].threshold);
    }
    rows.Add({topLevel, kKivNoRatio, 1.0, 0.0, kKivFullRange, 0.0});
    SortRows(rows);
    WalkRows(rows);
    ApplySilenceFloor(rows);
    if (gate) ApplyGate(rows, *gate);
    return lowest;
}
