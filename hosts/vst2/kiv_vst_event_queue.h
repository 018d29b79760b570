#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "hosts/vst2/vst2_abi.h"
#include "threads/kiv_mutex.h"

// MIDI events passed between threads: the host's GUI thread or the audio thread appends,
// the audio thread takes the whole queue over at a block boundary. Two vectors swap roles,
// so once both have grown, appending and taking over allocate nothing. A block without
// events, the usual case, takes nothing over and so never waits for the mutex; an event
// appended while that check runs arrives with the next block instead.
class KivVstEventQueue {
public:
    // Raises "Could not acquire mutex." when the lock fails.
    void Append(const VstMidiEvent& event);
    void AppendMidi(int32_t deltaFrames, const uint8_t* bytes);
    // The events appended since the last call; valid until the next call.
    const std::vector<VstMidiEvent>& TakeOver();

private:
    KivMutex mutex_;
    std::vector<VstMidiEvent> pending_;
    std::vector<VstMidiEvent> taken_;
    // The pending count, written under the mutex.
    std::atomic<size_t> pendingCount_{0};
};
