#pragma once
#include <cstdint>

#include "dynamics/gain/kiv_shape_mode.h"

// The items of "shapemode" are the shape modes in their order.
inline constexpr int32_t kTandrelShapeModeCount = kKivShapeModeCount;
extern const char* const kTandrelShapeModeTexts[kTandrelShapeModeCount];

// What the detector keys on: the plug-in's own input or the side-chain bus.
enum TandrelSideChainSource : int32_t { kTandrelSideChainInternal = 0, kTandrelSideChainExternal = 1 };
inline constexpr int32_t kTandrelSideChainCount = 2;
extern const char* const kTandrelSideChainTexts[kTandrelSideChainCount];

// How the detector's release time moves ("releasemode").
enum TandrelReleaseModeItem : int32_t {
    kTandrelReleaseManual = 0,
    kTandrelReleaseAutomatic = 1,
    kTandrelReleaseAutomaticFast = 2,
    kTandrelReleaseLinear1 = 3,
    kTandrelReleaseLinear2 = 4,
    kTandrelReleaseOpto = 5
};
inline constexpr int32_t kTandrelReleaseModeCount = 6;
extern const char* const kTandrelReleaseModeTexts[kTandrelReleaseModeCount];

// Whether the automatic release time follows the "Auto speed" record in this mode.
inline constexpr bool TandrelReleaseModeUsesAutoSpeed(int32_t mode) noexcept {
    return mode == kTandrelReleaseAutomatic || mode == kTandrelReleaseAutomaticFast;
}
