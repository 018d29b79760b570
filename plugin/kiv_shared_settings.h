#pragma once
#include <cstdint>

#include "plugin/kiv_channel_mode.h"

class KivXMLItem;

// The settings every effect shares, as stored in a settings item: settings version, channel
// mode, bypass and the largest block over which parameters jump instead of ramping
// ("MaxLFOBlockSize"). Each operation walks the item in one direction: `storing` writes the
// fields into it, otherwise they are read from it.
struct KivSharedSettings {
    // Settings written before the version was stored are of this version (0x50300).
    static constexpr uint32_t kUnversioned = 328448;
    static constexpr int32_t kDefaultMaxLFOBlockSize = 256;

    uint32_t version = kUnversioned;
    int32_t channelMode = kKivChannelModeLeftRight;
    bool bypass = false;
    int32_t maxLFOBlockSize = kDefaultMaxLFOBlockSize;
    // 1 (off), 2, 4 or 8.
    int32_t oversampling = 1;

    // "Version".
    void StoreVersion(KivXMLItem& item, bool storing);
    // "ChannelMode" (by stored name, any letter case), the older "EnableSurroundProcessing",
    // "Bypass", "MaxLFOBlockSize" and "Oversampling" (written only when on, so that settings
    // without it stay as they were; absent or unreadable is off). Surround needs more than two channels per group: a
    // set-up with fewer reads it as "Left + Right".
    void StoreModeAndFlags(KivXMLItem& item, bool storing, int32_t channelsPerGroup);

private:
    void ReadModeAndFlags(const KivXMLItem& item, int32_t channelsPerGroup);
    void WriteModeAndFlags(KivXMLItem& item) const;
};
