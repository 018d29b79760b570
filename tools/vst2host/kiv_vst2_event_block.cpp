#include "tools/vst2host/kiv_vst2_event_block.h"

#include <cstddef>
#include <cstring>

namespace {

// The pointer array really is longer than its declaration: indexing goes through a plain
// pointer so that the compiler does not hold the declared two entries against us.
VstEvent* const* EventSlots(const VstEvents& events) {
    const char* slots = reinterpret_cast<const char*>(&events) + offsetof(VstEvents, events);
    return reinterpret_cast<VstEvent* const*>(slots);
}

}  // namespace

void KivVst2EventBlock::Assign(const std::vector<KivVst2MidiMessage>& messages) {
    midiEvents_.assign(messages.size(), VstMidiEvent{});
    for (size_t i = 0; i < messages.size(); ++i) {
        VstMidiEvent& event = midiEvents_[i];
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = messages[i].deltaFrames;
        std::memcpy(event.midiData, messages[i].bytes, 3);
    }
    const size_t bytes = offsetof(VstEvents, events) + (messages.size() + 1) * sizeof(VstEvent*);
    header_.assign((bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
}

VstEvents* KivVst2EventBlock::Events() {
    if (header_.empty()) Assign({});
    auto* events = reinterpret_cast<VstEvents*>(header_.data());
    events->numEvents = Count();
    events->reserved = 0;
    auto** slots = const_cast<VstEvent**>(EventSlots(*events));
    for (size_t i = 0; i < midiEvents_.size(); ++i) slots[i] = reinterpret_cast<VstEvent*>(&midiEvents_[i]);
    return events;
}

std::vector<KivVst2MidiMessage> KivVst2EventBlock::MidiMessagesOf(const VstEvents& events) {
    std::vector<KivVst2MidiMessage> messages;
    for (int32_t i = 0; i < events.numEvents; ++i) {
        const VstEvent* event = EventSlots(events)[i];
        if (!event || event->type != kVstMidiType) continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        KivVst2MidiMessage message;
        message.deltaFrames = midi->deltaFrames;
        std::memcpy(message.bytes, midi->midiData, 3);
        messages.push_back(message);
    }
    return messages;
}
