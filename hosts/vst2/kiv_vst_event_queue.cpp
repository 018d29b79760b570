#include "hosts/vst2/kiv_vst_event_queue.h"

#include "threads/kiv_synchronizer_guard.h"

void KivVstEventQueue::Append(const VstMidiEvent& event) {
    KivSynchronizerGuard guard(mutex_);
    pending_.push_back(event);
    pendingCount_.store(pending_.size(), std::memory_order_release);
}

void KivVstEventQueue::AppendMidi(int32_t deltaFrames, const uint8_t* bytes) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = deltaFrames;
    for (int32_t i = 0; i < 3; ++i) event.midiData[i] = static_cast<char>(bytes[i]);
    Append(event);
}

const std::vector<VstMidiEvent>& KivVstEventQueue::TakeOver() {
    taken_.clear();
    if (pendingCount_.load(std::memory_order_acquire) == 0) return taken_;
    KivSynchronizerGuard guard(mutex_);
    taken_.swap(pending_);
    pendingCount_.store(0, std::memory_order_relaxed);
    return taken_;
}
