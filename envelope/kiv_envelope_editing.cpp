#include "envelope/kiv_envelope_editing.h"

#include <algorithm>
#include <cmath>

#include "envelope/kiv_envelope_segment_type.h"
#include "parameters/kiv_random_generator.h"

namespace KivEnvelopeEditing {

namespace {

// Calls `change` for every unlocked point of the selection.
template <typename Change>
void ForUnlocked(KivEnvelope& envelope, Selection selection, Change change) {
    const int32_t last = std::min(selection.last, envelope.GetPointCount() - 1);
    for (int32_t i = std::max(selection.first, 0); i <= last; ++i) {
        KivEnvelopePoint& point = envelope.GetPoint(i);
        if (!point.IsLocked()) change(point);
    }
}

void SetFlag(KivEnvelope& envelope, KivEnvelopePoint::Flag flag, bool on, Selection selection) {
    ForUnlocked(envelope, selection, [&](KivEnvelopePoint& point) { point.Set(flag, on); });
}

}  // namespace

void ClearSmoothing(KivEnvelope& envelope, Selection selection) {
    ForUnlocked(envelope, selection, [](KivEnvelopePoint& point) { point.leftSmoothness = point.rightSmoothness = 0.0; });
}

void SetSmoothness(KivEnvelope& envelope, double smoothness, Selection selection) {
    const double limited = std::clamp(smoothness, 0.0, 1.0);
    ForUnlocked(envelope, selection, [&](KivEnvelopePoint& point) {
        point.leftSmoothness = limited;
        if (point.Has(KivEnvelopePoint::kSameSmoothness)) point.rightSmoothness = limited;
    });
}

void SetFasterSmoothing(KivEnvelope& envelope, bool on, Selection selection) {
    const int32_t kind = on ? KivEnvelopePoint::kCubicCorner : KivEnvelopePoint::kBezierCorner;
    ForUnlocked(envelope, selection, [&](KivEnvelopePoint& point) { point.smoothingKind = kind; });
}

void SetProportional(KivEnvelope& envelope, bool on, Selection selection) {
    SetFlag(envelope, KivEnvelopePoint::kSymmetricWidth, on, selection);
}

void SetLockSides(KivEnvelope& envelope, bool on, Selection selection) {
    ForUnlocked(envelope, selection, [&](KivEnvelopePoint& point) {
        point.Set(KivEnvelopePoint::kSameSmoothness, on);
        if (on) point.rightSmoothness = point.leftSmoothness;
    });
}

void ClearCurvature(KivEnvelope& envelope, Selection selection) {
    ForUnlocked(envelope, selection, [](KivEnvelopePoint& point) { point.curvature = point.horizontalCurvature = 0.0; });
}

void SetCurvature(KivEnvelope& envelope, double curvature, Selection selection) {
    const double limited = std::clamp(curvature, -1.0, 1.0);
    ForUnlocked(envelope, selection, [&](KivEnvelopePoint& point) { point.curvature = limited; });
}

void SetSegmentType(KivEnvelope& envelope, int32_t type, Selection selection) {
    if (!KivEnvelopeSegment::IsValid(type)) return;
    ForUnlocked(envelope, selection, [&](KivEnvelopePoint& point) { point.segmentType = type; });
}

void SetLocked(KivEnvelope& envelope, bool on, Selection selection) {
    const int32_t last = std::min(selection.last, envelope.GetPointCount() - 1);
    for (int32_t i = std::max(selection.first, 0); i <= last; ++i) envelope.GetPoint(i).Set(KivEnvelopePoint::kLocked, on);
}

void RandomizeY(KivEnvelope& envelope, Selection selection) {
    const double low = envelope.GetYMinimum();
    const double high = envelope.GetYMaximum();
    const double amount = (high - low) * kRandomYShare;
    ForUnlocked(envelope, selection, [&](KivEnvelopePoint& point) {
        const double moved = point.y + (KivRandomGenerator::Draw() * 2.0 - 1.0) * amount;
        point.y = std::clamp(moved, std::min(low, high), std::max(low, high));
    });
}

void Distribute(KivEnvelope& envelope) {
    const int32_t count = envelope.GetPointCount();
    if (count < 3) return;
    const double start = envelope.GetPoint(0).x;
    const double step = (envelope.GetPoint(count - 1).x - start) / (count - 1);
    for (int32_t i = 1; i < count - 1; ++i) {
        KivEnvelopePoint& point = envelope.GetPoint(i);
        if (!point.IsLocked()) point.x = start + step * i;
    }
    envelope.Sort();
}

double SnapToGrid(double value, double minimum, double maximum) noexcept {
    const double spacing = (maximum - minimum) / kGridDivisions;
    if (!(std::fabs(spacing) > 0.0)) return value;
    return minimum + std::floor((value - minimum) / spacing + 0.5) * spacing;
}

void Snap(KivEnvelope& envelope, Selection selection) {
    const bool snapX = envelope.GetSnapToGridX() != 0;
    const bool snapY = envelope.GetSnapToGridY() != 0;
    ForUnlocked(envelope, selection, [&](KivEnvelopePoint& point) {
        if (snapX) point.x = SnapToGrid(point.x, envelope.GetXMinimum(), envelope.GetXMaximum());
        if (snapY) point.y = SnapToGrid(point.y, envelope.GetYMinimum(), envelope.GetYMaximum());
    });
    if (snapX) envelope.Sort();
}

}  // namespace KivEnvelopeEditing
