#pragma once
#include <cstdint>

// Where each record sits in the product's declaration table. The order fixes the host
// numbering, so a slot never moves; slot 15 stays undeclared and produces no host parameter.
// Slots from kTandrelFirstTrailingSlot on are numbered after the drawn shape's parameters.
enum TandrelParameterSlot : int32_t {
    kTandrelGeneralGroup = 0,
    kTandrelInputGain = 1,
    kTandrelOutputGain = 2,
    kTandrelTempGain = 3,
    kTandrelDryWet = 4,
    kTandrelShapeMode = 5,
    kTandrelMaximize = 6,
    kTandrelLinkChannels = 7,
    kTandrelDetectionGroup = 8,
    kTandrelAttack = 9,
    kTandrelRelease = 10,
    kTandrelReleaseMode = 11,
    kTandrelAutoSpeed = 12,
    kTandrelPeakHold = 13,
    kTandrelRMSLength = 14,
    kTandrelUndeclared = 15,
    kTandrelLookAhead = 16,
    kTandrelGateGroup = 17,
    kTandrelGateThreshold = 18,
    kTandrelGateSize = 19,
    kTandrelGateKnee = 20,
    kTandrelGateBottom = 21,
    kTandrelProcessor1Group = 22,
    kTandrelThreshold1 = 23,
    kTandrelRatio1 = 24,
    kTandrelKneeSize1 = 25,
    kTandrelRange1 = 26,
    kTandrelProcessor2Group = 27,
    kTandrelThreshold2 = 28,
    kTandrelRatio2 = 29,
    kTandrelKneeSize2 = 30,
    kTandrelRange2 = 31,
    // Added after the drawn shape's parameters, so it is numbered after them for hosts.
    kTandrelSideChain = 32,
    kTandrelSlotCount = 33
};

// The records registered after the drawn shape, from this slot on.
inline constexpr int32_t kTandrelFirstTrailingSlot = kTandrelSideChain;

// The records of one processor, which differ between the two only by their slots.
struct TandrelProcessorSlots {
    int32_t group;
    int32_t threshold;
    int32_t ratio;
    int32_t kneeSize;
    int32_t range;
};

inline constexpr TandrelProcessorSlots kTandrelProcessor1Slots{kTandrelProcessor1Group, kTandrelThreshold1,
                                                               kTandrelRatio1, kTandrelKneeSize1, kTandrelRange1};
inline constexpr TandrelProcessorSlots kTandrelProcessor2Slots{kTandrelProcessor2Group, kTandrelThreshold2,
                                                               kTandrelRatio2, kTandrelKneeSize2, kTandrelRange2};
