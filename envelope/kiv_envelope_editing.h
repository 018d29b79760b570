#pragma once
#include <cstdint>

#include "envelope/kiv_envelope.h"

// The point operations of the shape editor's menu. Each acts on the selected points
// first .. last (indices, inclusive, limited to the envelope) and leaves locked points as
// they are, except the lock itself.
namespace KivEnvelopeEditing {

// Grid lines per axis range used by snapping.
constexpr int32_t kGridDivisions = 20;
// Largest change of "Modifies Y coordinates slightly.", as a share of the y range.
constexpr double kRandomYShare = 0.02;

struct Selection {
    int32_t first = 0;
    int32_t last = 0x7FFFFFFF;
};

// "Clear smoothing": both smoothness values become 0.
void ClearSmoothing(KivEnvelope& envelope, Selection selection = {});
// Left smoothness (and the right one where the sides are locked together).
void SetSmoothness(KivEnvelope& envelope, double smoothness, Selection selection = {});
// "FasterSmoothness": the cubic corner instead of the Bézier one.
void SetFasterSmoothing(KivEnvelope& envelope, bool on, Selection selection = {});
// "Proportional": the rounding area is defined by the smaller side.
void SetProportional(KivEnvelope& envelope, bool on, Selection selection = {});
// "LockSides": the right smoothness follows the left one.
void SetLockSides(KivEnvelope& envelope, bool on, Selection selection = {});
// "Clear curvature" and "Curvature": the segment's curvature (both axes when cleared).
void ClearCurvature(KivEnvelope& envelope, Selection selection = {});
void SetCurvature(KivEnvelope& envelope, double curvature, Selection selection = {});
// The property menus: the segment type of the selected points.
void SetSegmentType(KivEnvelope& envelope, int32_t type, Selection selection = {});
// "Locked": applies to locked points too.
void SetLocked(KivEnvelope& envelope, bool on, Selection selection = {});
// "Modifies Y coordinates slightly.": y moves by at most kRandomYShare of the y range,
// drawn from the module's generator, and stays inside the range.
void RandomizeY(KivEnvelope& envelope, Selection selection = {});
// "Distribute": all points equally spaced between the first and the last one; locked
// points keep their place and the order is restored afterwards.
void Distribute(KivEnvelope& envelope);
// Moves x and y to the nearest grid line along the axes whose snapping is switched on.
void Snap(KivEnvelope& envelope, Selection selection = {});
// The snapped value of one coordinate on an axis range.
double SnapToGrid(double value, double minimum, double maximum) noexcept;

}  // namespace KivEnvelopeEditing
