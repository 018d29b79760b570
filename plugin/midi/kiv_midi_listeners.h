#pragma once
#include <cstdint>

#include "base/kiv_list.h"

class KivMIDIProcessor;

// The processors an event is fanned out to, each with the channels it listens to (bit n of
// the mask for channel n). The list is built while preparing; delivering walks it without
// allocating.
class KivMIDIListeners {
public:
    static constexpr uint32_t kAllChannels = 0xFFFFFFFFu;

    void Add(KivMIDIProcessor& listener, uint32_t channelMask);
    void Remove(KivMIDIProcessor& listener) noexcept;
    int32_t Count() const noexcept { return entries_.Count(); }

    // Calls `deliver(listener)` for every listener whose mask contains `channel`.
    template <typename Deliver>
    void ForChannel(int32_t channel, Deliver&& deliver) const {
        if (channel < 0 || channel > 31) return;
        const uint32_t bit = 1u << channel;
        for (const Entry& entry : entries_)
            if (entry.channelMask & bit) deliver(*entry.listener);
    }

private:
    struct Entry {
        KivMIDIProcessor* listener;
        uint32_t channelMask;
    };

    KivList<Entry, 4> entries_;
};
