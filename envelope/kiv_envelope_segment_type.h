#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// The shape of the segment that starts at a point.
enum KivEnvelopeSegmentType : int32_t {
    kKivSegmentQuadratic = 0,
    kKivSegmentFourthOrder = 1,
    kKivSegmentExponential = 2,
    kKivSegmentBezier = 3,
    kKivSegmentDouble = 4,
    kKivSegmentSmoothByItems = 5,   // end slopes from the neighbouring pieces
    kKivSegmentSmoothByPoints = 6,  // end slopes from the neighbouring points
    kKivSegmentStairs = 7,
    kKivSegmentPulses = 8,
    kKivSegmentTypeCount = 9
};

namespace KivEnvelopeSegment {

bool IsValid(int32_t type) noexcept;
// The editor's description of a segment type; empty for an invalid type.
KivString Description(int32_t type);

}  // namespace KivEnvelopeSegment
