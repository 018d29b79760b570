#include "dynamics/gain/kiv_transfer_shape_builder.h"

#include <cmath>

#include "dynamics/gain/kiv_breakpoint_rows.h"
#include "envelope/kiv_envelope.h"

namespace {

constexpr double kExtensionDecibels = 64.0;

double Level(double decibels) {
    return decibels <= kKivSilenceDecibels ? 0.0 : std::pow(10.0, decibels / 20.0);
}

// The output level of a row. Where an expansion reaches silence (an audible input whose
// output sits at the silence level, followed by an audible output) the row keeps the level
// -140 dB itself rather than 0: in the logarithmic mode 0 becomes 10^-30, which would turn
// the 1:2 line from (-85, -140) to (-30, -30) into one from (-85, -600) to (-30, -30), ten
// times as steep (a steady signal 10 dB below the threshold lost 94 dB instead of 10). In
// the other modes the difference is 1e-7 of full scale, at inputs below -85 dB.
double OutputLevel(const KivBreakpointRows& rows, int32_t i) {
    const KivBreakpointRow& row = rows[i];
    const bool silentOutput = std::fabs(row.y - kKivSilenceDecibels) < 1e-9;
    const bool audibleInput = row.x > kKivSilenceDecibels + 1e-9;
    const bool audibleNext = i + 1 < rows.Count() && rows[i + 1].y > kKivSilenceDecibels + 1e-9;
    if (silentOutput && audibleInput && audibleNext) return std::pow(10.0, kKivSilenceDecibels / 20.0);
    return Level(row.y);
}

// The knee rounds the corner at the breakpoint and nothing else: the segments stay straight
// in the shape mode's domain (curvature 0; a curvature would bend the whole segment, so a
// 1:1 ratio would no longer pass the signal unchanged and the level would be wrong far from
// any threshold). The rounding is symmetric (a new point's "Proportional" width): it spans
// knee x the distance to the nearer neighbour, centred on the corner, and on two straight
// lines that is the parabola of the classic soft knee. Neighbouring corners at 100% meet at
// most half way, so they never overlap.
void AddPoint(KivEnvelope& shape, double x, double y, double knee) {
    KivEnvelopePoint& point = shape.AddPoint(x, y);
    point.curvature = 0.0;
    point.leftSmoothness = knee;
    point.rightSmoothness = knee;
    point.Set(KivEnvelopePoint::kSymmetricWidth, true);
    point.Set(KivEnvelopePoint::kSameSmoothness, true);
}

void AddExtension(KivEnvelope& shape, const KivBreakpointRows& rows) {
    const KivBreakpointRow& last = rows[rows.Count() - 1];
    const KivBreakpointRow& before = rows[rows.Count() - 2];
    if (std::fabs(last.x - before.x) < 1e-50) return;
    double slope = (last.y - before.y) / (last.x - before.x);
    AddPoint(shape, Level(kExtensionDecibels), Level(last.y + (kExtensionDecibels - last.x) * slope), 0.0);
}

// Consecutive points at the same place (the start point and a silent first row, a gate
// threshold on a processor threshold) would make vertical jumps of no height.
void MergeDuplicates(KivEnvelope& shape) {
    for (int32_t i = 1; i < shape.GetPointCount();) {
        const KivEnvelopePoint& a = shape.GetPoint(i - 1);
        const KivEnvelopePoint& b = shape.GetPoint(i);
        if (std::fabs(a.x - b.x) < 1e-50 && std::fabs(a.y - b.y) < 1e-50) shape.DeletePoint(i);
        else ++i;
    }
}

void LockEnds(KivEnvelope& shape) {
    if (shape.GetPointCount() == 0) return;
    shape.GetPoint(0).Set(KivEnvelopePoint::kLocked, true);
    shape.GetPoint(shape.GetPointCount() - 1).Set(KivEnvelopePoint::kLocked, true);
}

}  // namespace

double BuildTransferShape(const KivDynamicsProcessorDescription* processors, int32_t count,
                          const KivDynamicsGateDescription* gate, KivEnvelope& shape, double topLevel,
                          bool extendAbove0dB) {
    KivBreakpointRows rows;
    double lowest = KivBuildBreakpointRows(processors, count, gate, topLevel, rows);
    shape.ClearPoints();
    shape.AddPoint(0.0, 0.0);
    for (int32_t i = 0; i < rows.Count(); ++i) AddPoint(shape, Level(rows[i].x), OutputLevel(rows, i), rows[i].knee);
    if (extendAbove0dB) AddExtension(shape, rows);
    shape.Sort();
    MergeDuplicates(shape);
    LockEnds(shape);
    return lowest;
}
