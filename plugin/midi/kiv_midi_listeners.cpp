#include "plugin/midi/kiv_midi_listeners.h"

void KivMIDIListeners::Add(KivMIDIProcessor& listener, uint32_t channelMask) {
    for (Entry& entry : entries_) {
        if (entry.listener == &listener) {
            entry.channelMask = channelMask;
            return;
        }
    }
    entries_.Add(Entry{&listener, channelMask});
}

void KivMIDIListeners::Remove(KivMIDIProcessor& listener) noexcept {
    for (int32_t i = entries_.Count() - 1; i >= 0; --i)
        if (entries_[i].listener == &listener) entries_.RemoveAt(i);
}
