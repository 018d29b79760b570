#include "dynamics/gain/tandrel_transfer_shape_choice.h"

#include <cmath>

#include "dynamics/gain/kiv_transfer_shape_builder.h"
#include "envelope/kiv_envelope.h"

namespace {

constexpr double kTopLevelDecibels = 0.0;

// Raises the shape so that 0 dB in gives 0 dB out. The output is read at 0 dB input (the
// builder's top row), not at the last point: with levels above 0 dB not limited the last
// point is the +64 dB extension, and scaling by it would make everything 32 dB quieter
// instead of louder.
void Maximize(KivEnvelope& shape) {
    double top = 0.0;
    for (int32_t i = 0; i < shape.GetPointCount() && shape.GetPoint(i).x <= 1.0 + 1e-12; ++i)
        top = shape.GetPoint(i).y;
    if (top > 1e-20) shape.ScaleY(1.0 / top);
}

// Both axes of the drawn shape are root amplitudes.
void MapCoordinates(const KivEnvelope& from, KivEnvelope& to, double (*map)(double)) {
    to.CopyFrom(from);
    for (int32_t i = 0; i < to.GetPointCount(); ++i) {
        KivEnvelopePoint& point = to.GetPoint(i);
        point.x = map(point.x);
        point.y = map(point.y);
    }
}

double Root(double value) { return std::sqrt(value); }
double Square(double value) { return value * value; }

TandrelChosenShape BuildAutomatic(const TandrelShapeSources& sources, const TandrelShapeOptions& options,
                                  KivEnvelope& drawnShape, KivEnvelope& shape) {
    double lowest = BuildTransferShape(sources.processors, sources.processorCount, sources.Gate(), shape,
                                       kTopLevelDecibels, options.doNotLimitAbove0dB);
    if (options.maximize) Maximize(shape);
    double drawnXMaximum = drawnShape.GetXMaximum();
    double drawnYMaximum = drawnShape.GetYMaximum();
    MapCoordinates(shape, drawnShape, Root);
    drawnShape.SetXRange(0.0, drawnXMaximum);  // the editor keeps its 0 .. 1 plane
    drawnShape.SetYRange(0.0, drawnYMaximum);
    return {TandrelShapeKind::kAutomatic, lowest <= 1.0 ? lowest : kTandrelDefaultLowestThreshold};
}

TandrelChosenShape UseCustom(const KivEnvelope& drawnShape, KivEnvelope& shape) {
    MapCoordinates(drawnShape, shape, Square);
    double lowest = kTandrelDefaultLowestThreshold;
    for (int32_t i = 0; i < shape.GetPointCount(); ++i) {
        if (shape.GetPoint(i).y > 1e-20) {
            lowest = shape.GetPoint(i).x;
            break;
        }
    }
    return {TandrelShapeKind::kCustom, lowest};
}

}  // namespace

TandrelChosenShape TandrelChooseTransferShape(const TandrelShapeSources& sources, const TandrelShapeOptions& options,
                                              KivEnvelope& drawnShape, KivEnvelope& shape) {
    if (options.customShape) return UseCustom(drawnShape, shape);
    if (sources.IsEmpty()) {
        drawnShape.ResetToLine(0.0, 1.0);
        return {TandrelShapeKind::kGainOnly, kTandrelDefaultLowestThreshold};
    }
    return BuildAutomatic(sources, options, drawnShape, shape);
}
