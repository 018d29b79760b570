#pragma once
#include <cstdint>

// A slot's channel is 0 for "any channel", else the MIDI channel index + 1.
inline bool KivSlotListensToChannel(uint32_t slotChannel, int32_t channel) noexcept {
    return slotChannel == 0 || static_cast<int64_t>(slotChannel) == static_cast<int64_t>(channel) + 1;
}
