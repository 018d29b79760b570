#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// How a stereo pair reaches the effect. Single-channel modes process one channel and pass
// the other through unchanged; the mid-side modes convert the pair to mid = (L + R) / 2 and
// side = (L - R) / 2 and back.
enum KivChannelMode : int32_t {
    kKivChannelModeLeftRight = 0,
    kKivChannelModeLeft = 1,
    kKivChannelModeRight = 2,
    kKivChannelModeMid = 3,
    kKivChannelModeSide = 4,
    kKivChannelModeMidSide = 5,
    kKivChannelModeLeftRightNegated = 6,
    kKivChannelModeSurround = 7
};

struct KivChannelModeInfo {
    const char* menuName;    // shown in the "Channel mode" menu
    const char* storedName;  // written into stored settings ("Mono" is mid, "Stereo" is side)
    int32_t maximumInputs;
    int32_t maximumOutputs;
    bool midSide;
};

namespace KivChannelModes {

inline constexpr int32_t kCount = 8;

// Out-of-range modes answer as "Left + Right".
const KivChannelModeInfo& Info(int32_t mode) noexcept;
// The mode whose stored name equals `name` ignoring letter case; -1 when none does.
int32_t FindByStoredName(const KivString& name) noexcept;
// Modes that process one channel of the pair and pass the other through.
bool IsSingleChannel(int32_t mode) noexcept;

}  // namespace KivChannelModes
