#include <algorithm>

#include "base/kiv_boundary.h"
#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"
#include "hosts/vst2/kiv_vst_transport_update.h"
#include "threads/kiv_thread_role.h"

namespace {

constexpr int32_t kRepackedGroupStride = 8;

int32_t GroupCount(int32_t channels, int32_t perGroup) { return (channels + perGroup - 1) / perGroup; }

// Lays the host's consecutive channels out eight to a group; entries past a group's last
// channel repeat it, so that the core never meets a null channel inside a group.
void Repack(float** source, int32_t channels, int32_t perGroup, float** target, int32_t capacity) {
    const int32_t groups = std::min(GroupCount(channels, perGroup), capacity / kRepackedGroupStride);
    for (int32_t group = 0; group < groups; ++group) {
        const int32_t first = group * perGroup;
        const int32_t last = std::min(first + perGroup, channels) - 1;
        for (int32_t entry = 0; entry < kRepackedGroupStride; ++entry)
            target[group * kRepackedGroupStride + entry] = source[std::min(first + entry, last)];
    }
}

}  // namespace

void KivAudioPluginVSTAdapter::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    KivGuard("KivAudioPluginVSTAdapter::processReplacing",
             [&] { PerformProcessing(inputs, outputs, sampleFrames, true); });
}

void KivAudioPluginVSTAdapter::process(float** inputs, float** outputs, int32_t sampleFrames) {
    KivGuard("KivAudioPluginVSTAdapter::process", [&] { PerformProcessing(inputs, outputs, sampleFrames, false); });
}

void KivAudioPluginVSTAdapter::PerformProcessing(float** inputs, float** outputs, int32_t sampleFrames,
                                                 bool replacing) {
    if (sampleFrames <= 0 || !outputs) return;
    // The MIDI events of the block are applied on the audio thread too.
    KivThreadRole::AudioScope audioThread;
    plugin_->SetOfflineProcessing(getCurrentProcessLevel() == kVstProcessLevelOffline);
    KivGuard("KivAudioPluginVSTAdapter::PerformProcessing", [&] {
        PrepareProcessing();
        if (NeedsRepacking()) ProcessRepacked(inputs, outputs, sampleFrames, replacing);
        else plugin_->ProcessAudio(inputs, outputs, sampleFrames, replacing);
        SendOutgoingEvents();
    });
}

void KivAudioPluginVSTAdapter::PrepareProcessing() {
    if (plugin_->GetTransport().usesHostTime) UpdateTransportFromHost();
    DeliverIncomingEvents();
}

void KivAudioPluginVSTAdapter::UpdateTransportFromHost() {
    const VstTimeInfo* info = getTimeInfo(KivVstTransportUpdate::kRequestedFields);
    if (info) KivVstTransportUpdate::Apply(*info, plugin_->GetTransport(), lastSongPosition_);
}

void KivAudioPluginVSTAdapter::DeliverIncomingEvents() {
    for (const VstMidiEvent& event : incomingEvents_.TakeOver()) {
        const uint8_t bytes[3] = {static_cast<uint8_t>(event.midiData[0]), static_cast<uint8_t>(event.midiData[1]),
                                  static_cast<uint8_t>(event.midiData[2])};
        plugin_->ProcessMIDIEvent(event.deltaFrames, bytes);
    }
}

bool KivAudioPluginVSTAdapter::NeedsRepacking() const {
    if (plugin_->GetChannelsPerGroup() == kRepackedGroupStride) return false;
    return !(plugin_->GetInputGroups() == 1 && plugin_->GetOutputGroups() == 1);
}

void KivAudioPluginVSTAdapter::ProcessRepacked(float** inputs, float** outputs, int32_t sampleFrames,
                                               bool replacing) {
    const int32_t perGroup = std::max(1, plugin_->GetChannelsPerGroup());
    const int32_t capacity = KivAudioPlugin::kMaxHostChannels;
    std::fill(std::begin(repackedInputs_), std::end(repackedInputs_), nullptr);
    std::fill(std::begin(repackedOutputs_), std::end(repackedOutputs_), nullptr);
    if (inputs) Repack(inputs, getAeffect()->numInputs, perGroup, repackedInputs_, capacity);
    Repack(outputs, getAeffect()->numOutputs, perGroup, repackedOutputs_, capacity);
    plugin_->ProcessAudio(inputs ? repackedInputs_ : nullptr, repackedOutputs_, sampleFrames, replacing);
}

void KivAudioPluginVSTAdapter::SendOutgoingEvents() {
    const std::vector<VstMidiEvent>& events = outgoingEvents_.TakeOver();
    if (events.empty()) return;
    // The record ends in a pointer array of the events' length.
    const size_t words = 2 + events.size();
    outgoingBlock_.assign(words, 0);
    auto* block = reinterpret_cast<VstEvents*>(outgoingBlock_.data());
    block->numEvents = static_cast<int32_t>(events.size());
    for (size_t i = 0; i < events.size(); ++i)
        block->events[i] = reinterpret_cast<VstEvent*>(const_cast<VstMidiEvent*>(&events[i]));
    sendVstEventsToHost(block);
}

// Events arrive between blocks on the host's thread; they reach the plug-in at the start of
// the next block, in the audio thread.
int32_t KivAudioPluginVSTAdapter::processEvents(VstEvents* events) {
    return KivGuard("KivAudioPluginVSTAdapter::processEvents", int32_t{1}, [&] {
        if (!events || events->numEvents <= 0) return 1;
        if (plugin_->GetTransport().usesHostTime) UpdateTransportFromHost();
        for (int32_t i = 0; i < events->numEvents; ++i) {
            const VstEvent* event = events->events[i];
            if (event && event->type == kVstMidiType) incomingEvents_.Append(*reinterpret_cast<const VstMidiEvent*>(event));
        }
        return 1;
    });
}
