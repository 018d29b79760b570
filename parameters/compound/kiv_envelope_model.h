#pragma once
#include <cstdint>

#include "parameters/compound/kiv_compound_model.h"

// The first points of an envelope or envelope graph as their host face sees them: per point
// X, Y, curvature and smoothness, each in the host's 0..1 as the curve maps it.
class KivEnvelopeModel : public KivCompoundModel {
public:
    enum PointField : int32_t { kX, kY, kCurvature, kSmoothness, kPointFieldCount };
    static constexpr int32_t kHostPointCount = 5;

    virtual double GetPoint01(int32_t point, PointField field) const = 0;
    virtual void SetPoint01(int32_t point, PointField field, double value) = 0;
};
