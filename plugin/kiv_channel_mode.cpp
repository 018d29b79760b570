#include "plugin/kiv_channel_mode.h"

namespace {

constexpr KivChannelModeInfo kModes[KivChannelModes::kCount] = {
    {"Left + Right", "Left + Right", 2, 2, false},
    {"Left", "Left", 1, 2, false},
    {"Right", "Right", 1, 2, false},
    {"Mid", "Mono", 1, 2, true},
    {"Side", "Stereo", 1, 2, true},
    {"Mid + Side", "Mono + Stereo", 2, 2, true},
    {"Left + Right (neg)", "Left + Right (neg)", 2, 2, true},
    {"Surround", "Surround", 8, 8, false},
};

}  // namespace

namespace KivChannelModes {

const KivChannelModeInfo& Info(int32_t mode) noexcept {
    if (mode < 0 || mode >= kCount) return kModes[kKivChannelModeLeftRight];
    return kModes[mode];
}

int32_t FindByStoredName(const KivString& name) noexcept {
    for (int32_t mode = 0; mode < kCount; ++mode) {
        if (name.EqualsFolded(KivString(kModes[mode].storedName))) return mode;
    }
    return -1;
}

bool IsSingleChannel(int32_t mode) noexcept { return Info(mode).maximumInputs == 1; }

}  // namespace KivChannelModes
