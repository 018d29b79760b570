#include "envelope/kiv_envelope_segment_type.h"

namespace {

const char* const kSmoothConnection =
    "Fast, no curvature, provides smooth connection between neighboring segments.";

const char* const kDescriptions[kKivSegmentTypeCount] = {
    "Fastest, minimal curvature freedom.",
    "Fast, average curvature freedom.",
    "Very slow, very high curvature freedom.",
    "Normal speed, curvature adjustable in both axes.",
    "Double curved shape.",
    kSmoothConnection,
    kSmoothConnection,
    "Stairs-like image, curvature controls number of stairs.",
    "Pulses, curvature controls number of pulses.",
};

}  // namespace

namespace KivEnvelopeSegment {

bool IsValid(int32_t type) noexcept { return type >= 0 && type < kKivSegmentTypeCount; }

KivString Description(int32_t type) { return IsValid(type) ? KivString(kDescriptions[type]) : KivString(); }

}  // namespace KivEnvelopeSegment
