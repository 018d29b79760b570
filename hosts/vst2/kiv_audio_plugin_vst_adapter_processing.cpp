#include <algorithm>

#include "base/kiv_boundary.h"
#include "hosts/bridge/kiv_host_channel_layout.h"
#include "hosts/bridge/kiv_host_transport.h"
#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"
#include "threads/kiv_thread_role.h"

namespace {

constexpr int32_t kRepackedGroupStride = 8;
constexpr int32_t kMaxGroups = KivAudioPlugin::kMaxHostChannels;

// The fields a plug-in asks the host for.
constexpr int32_t kRequestedTimeFields =
    kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;

bool Has(const VstTimeInfo& info, int32_t flag) { return (info.flags & flag) != 0; }

// Only what the host marks valid: a host may leave the rest as it was or fill it with zeros.
KivHostTime HostTimeOf(const VstTimeInfo& info) {
    KivHostTime time;
    time.playing = Has(info, kVstTransportPlaying);
    time.hasPosition = Has(info, kVstPpqPosValid);
    time.position = info.ppqPos;
    time.hasTempo = Has(info, kVstTempoValid);
    time.tempo = info.tempo;
    time.hasBarStart = Has(info, kVstBarsValid);
    time.barStart = info.barStartPos;
    time.hasTimeSignature = Has(info, kVstTimeSigValid);
    time.timeSignatureNumerator = info.timeSigNumerator;
    time.timeSignatureDenominator = info.timeSigDenominator;
    time.cycleActive = Has(info, kVstTransportCycleActive) && Has(info, kVstCyclePosValid);
    time.cycleStart = info.cycleStartPos;
    time.cycleEnd = info.cycleEndPos;
    return time;
}

// Lays the host's consecutive channels out eight to a group.
void Repack(float** source, int32_t channels, int32_t perGroup, float** target, KivNarrowGroupFill fill) {
    KivHostChannelGroup groups[kMaxGroups];
    const int32_t count = KivSplitHostChannels(source, channels, perGroup, groups, kMaxGroups);
    KivLayOutHostChannels(groups, count, kRepackedGroupStride, target, KivAudioPlugin::kMaxHostChannels, fill);
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
    ProcessingScope processing;
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
    const VstTimeInfo* info = getTimeInfo(kRequestedTimeFields);
    if (info) KivApplyHostTime(HostTimeOf(*info), plugin_->GetTransport(), lastSongPosition_);
}

void KivAudioPluginVSTAdapter::DeliverIncomingEvents() {
    KivHostMidiMessage message;
    while (incomingEvents_.Take(message)) plugin_->ProcessMIDIEvent(message.deltaFrames, message.bytes);
}

bool KivAudioPluginVSTAdapter::NeedsRepacking() const {
    if (plugin_->GetChannelsPerGroup() == kRepackedGroupStride) return false;
    return !(plugin_->GetInputGroups() == 1 && plugin_->GetOutputGroups() == 1);
}

void KivAudioPluginVSTAdapter::ProcessRepacked(float** inputs, float** outputs, int32_t sampleFrames,
                                               bool replacing) {
    const int32_t perGroup = std::max(1, plugin_->GetChannelsPerGroup());
    std::fill(std::begin(repackedInputs_), std::end(repackedInputs_), nullptr);
    if (inputs) Repack(inputs, getAeffect()->numInputs, perGroup, repackedInputs_, KivNarrowGroupFill::kRepeatLast);
    Repack(outputs, getAeffect()->numOutputs, perGroup, repackedOutputs_, KivNarrowGroupFill::kLeaveEmpty);
    plugin_->ProcessAudio(inputs ? repackedInputs_ : nullptr, repackedOutputs_, sampleFrames, replacing);
}

// The storage was sized for a full queue when the adapter was built: nothing allocates here.
void KivAudioPluginVSTAdapter::SendOutgoingEvents() {
    auto* block = reinterpret_cast<VstEvents*>(outgoingBlock_.data());
    int32_t count = 0;
    KivHostMidiMessage message;
    while (count < static_cast<int32_t>(outgoingEvents_.size()) && OutgoingMidi().Take(message)) {
        VstMidiEvent& event = outgoingEvents_[static_cast<size_t>(count)];
        event = VstMidiEvent{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = message.deltaFrames;
        for (int32_t i = 0; i < 3; ++i) event.midiData[i] = static_cast<char>(message.bytes[i]);
        block->events[count++] = reinterpret_cast<VstEvent*>(&event);
    }
    if (count == 0) return;
    block->numEvents = count;
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
            if (!event || event->type != kVstMidiType) continue;
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            const uint8_t bytes[3] = {static_cast<uint8_t>(midi->midiData[0]), static_cast<uint8_t>(midi->midiData[1]),
                                      static_cast<uint8_t>(midi->midiData[2])};
            incomingEvents_.Append(midi->deltaFrames, bytes);
        }
        return 1;
    });
}
