#include "dynamics/gain/kiv_shape_domain.h"

#include <algorithm>
#include <cmath>

#include "envelope/kiv_envelope.h"

namespace {

constexpr double kLogarithmFloor = 1e-30;
constexpr double kLogarithmicAxis = 300.0;

template <typename Map>
void MapPoints(KivEnvelope& shape, Map map) {
    for (int32_t i = 0; i < shape.GetPointCount(); ++i) {
        KivEnvelopePoint& point = shape.GetPoint(i);
        point.x = map(point.x);
        point.y = map(point.y);
    }
}

}  // namespace

void KivConvertShapeDomain(KivEnvelope& shape, KivShapeMode mode) {
    switch (mode) {
    case kKivShapeSquared:
        MapPoints(shape, [](double v) { return std::sqrt(v); });
        break;
    case kKivShapeLogarithmic:
        MapPoints(shape, [](double v) { return std::log10(std::max(v, kLogarithmFloor)); });
        shape.SetXRange(-kLogarithmicAxis, kLogarithmicAxis);
        shape.SetYRange(-kLogarithmicAxis, kLogarithmicAxis);
        shape.Update();
        break;
    case kKivShapeLinear:
        break;
    }
}
