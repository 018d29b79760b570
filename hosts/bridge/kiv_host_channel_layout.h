#pragma once
#include <cstdint>

// One group of host channels as a host hands them over: a VST 3 bus, or a run of a VST 2.4
// host's consecutive channels.
struct KivHostChannelGroup {
    float* const* channels = nullptr;
    int32_t count = 0;
};

// Cuts `channelCount` consecutive host channels into groups of `perGroup` (the last may be
// narrower); the number of groups written, at most `maxGroups`.
int32_t KivSplitHostChannels(float* const* channels, int32_t channelCount, int32_t perGroup,
                             KivHostChannelGroup* groups, int32_t maxGroups) noexcept;

// What fills the entries past the last channel of a group narrower than the stride.
enum class KivNarrowGroupFill {
    // Inputs: the last channel again, so that a mono bus feeds both sides of a stereo effect.
    kRepeatLast,
    // Outputs: nothing, so that the core gives each its own discard buffer; a repeated output
    // would carry whichever channel was written into it last.
    kLeaveEmpty,
};

// Lays `groupCount` groups out as the plug-in's groups, `stride` entries to a group, into
// `target` of `capacity` entries (cleared first), filling past each group's last channel as
// `fill` says; a group without channels stays null.
void KivLayOutHostChannels(const KivHostChannelGroup* groups, int32_t groupCount, int32_t stride, float** target,
                           int32_t capacity, KivNarrowGroupFill fill) noexcept;
