#include <algorithm>
#include <cmath>

#include "base/kiv_boundary.h"
#include "hosts/vst3/interfaces/ievents.h"
#include "hosts/vst3/interfaces/iparameterchanges.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"
#include "hosts/vst3/kiv_vst3_transport_update.h"
#include "threads/kiv_synchronizer_guard.h"
#include "threads/kiv_thread_role.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kPolyPressure = 0xA0;

uint8_t SevenBits(double value) { return static_cast<uint8_t>(std::clamp(std::floor(value * 127.0 + 0.5), 0.0, 127.0)); }

uint8_t StatusByte(uint8_t kind, int16 channel) { return static_cast<uint8_t>(kind | (channel & 0x0F)); }

// A note-on keeps at least velocity 1: velocity 0 would read as a note-off.
bool ToMidi(const Event& event, uint8_t* bytes) {
    switch (event.type) {
    case Event::kNoteOnEvent:
        bytes[0] = StatusByte(kNoteOn, event.noteOn.channel);
        bytes[1] = static_cast<uint8_t>(event.noteOn.pitch & 0x7F);
        bytes[2] = std::max<uint8_t>(1, SevenBits(event.noteOn.velocity));
        return true;
    case Event::kNoteOffEvent:
        bytes[0] = StatusByte(kNoteOff, event.noteOff.channel);
        bytes[1] = static_cast<uint8_t>(event.noteOff.pitch & 0x7F);
        bytes[2] = SevenBits(event.noteOff.velocity);
        return true;
    case Event::kPolyPressureEvent:
        bytes[0] = StatusByte(kPolyPressure, event.polyPressure.channel);
        bytes[1] = static_cast<uint8_t>(event.polyPressure.pitch & 0x7F);
        bytes[2] = SevenBits(event.polyPressure.pressure);
        return true;
    default:
        return false;
    }
}

bool FromMidi(int32_t deltaFrames, const uint8_t* bytes, Event& event) {
    event = Event{};
    event.sampleOffset = deltaFrames;
    const uint8_t kind = bytes[0] & 0xF0;
    const auto channel = static_cast<int16>(bytes[0] & 0x0F);
    if (kind == kNoteOn && bytes[2] > 0) {
        event.type = Event::kNoteOnEvent;
        event.noteOn = {channel, static_cast<int16>(bytes[1]), 0.0f, bytes[2] / 127.0f, 0, -1};
        return true;
    }
    if (kind == kNoteOff || kind == kNoteOn) {
        event.type = Event::kNoteOffEvent;
        event.noteOff = {channel, static_cast<int16>(bytes[1]), bytes[2] / 127.0f, -1, 0.0f};
        return true;
    }
    return false;
}

// Lays the channels of `count` buses out as the plug-in's groups, `stride` entries to a
// group; entries past a bus's last channel repeat it, so no group holds a null channel.
void LayOut(const AudioBusBuffers* buses, int32 count, int32_t stride, float** target, int32_t capacity) {
    std::fill(target, target + capacity, nullptr);
    const int32_t groups = std::min<int32_t>(count, capacity / stride);
    for (int32_t group = 0; group < groups; ++group) {
        const AudioBusBuffers& bus = buses[group];
        if (bus.numChannels <= 0 || !bus.channelBuffers32) continue;
        for (int32_t entry = 0; entry < stride; ++entry)
            target[group * stride + entry] = bus.channelBuffers32[std::min(entry, bus.numChannels - 1)];
    }
}

}  // namespace

tresult KivAudioPluginVST3Adapter::process(ProcessData& data) {
    // Parameter changes and MIDI events of the block are applied on the audio thread too.
    KivThreadRole::AudioScope audioThread;
    return KivGuard("KivAudioPluginVST3Adapter::process", kResultFalse, [&] {
        ApplyInputParameterChanges(data);
        if (data.processContext && plugin_->GetTransport().usesHostTime) UpdateTransport(*data.processContext);
        DeliverInputEvents(data);
        ProcessAudio(data);
        SendOutgoingEvents(data);
        return kResultOk;
    });
}

// Only the last point of each queue counts: the plug-in smooths towards it by itself.
void KivAudioPluginVST3Adapter::ApplyInputParameterChanges(ProcessData& data) {
    IParameterChanges* changes = data.inputParameterChanges;
    if (!changes) return;
    const int32 count = changes->getParameterCount();
    for (int32 index = 0; index < count; ++index) {
        IParamValueQueue* queue = changes->getParameterData(index);
        const int32 points = queue ? queue->getPointCount() : 0;
        int32 offset = 0;
        ParamValue value = 0.0;
        if (points <= 0 || queue->getPoint(points - 1, offset, value) != kResultOk) continue;
        ApplyParameterChange(queue->getParameterId(), value, true);
    }
}

void KivAudioPluginVST3Adapter::UpdateTransport(const ProcessContext& context) {
    KivVst3TransportUpdate::Apply(context, plugin_->GetTransport(), lastTransportPosition_);
}

void KivAudioPluginVST3Adapter::DeliverInputEvents(ProcessData& data) {
    IEventList* events = data.inputEvents;
    if (!events) return;
    const int32 count = events->getEventCount();
    for (int32 index = 0; index < count; ++index) {
        Event event{};
        uint8_t bytes[3] = {};
        if (events->getEvent(index, event) == kResultOk && ToMidi(event, bytes))
            plugin_->ProcessMIDIEvent(event.sampleOffset, bytes);
    }
}

void KivAudioPluginVST3Adapter::ProcessAudio(ProcessData& data) {
    if (data.numSamples <= 0 || data.numOutputs <= 0 || !data.outputs) return;
    if (data.symbolicSampleSize != kSample32) return;
    const int32_t stride = std::max(1, plugin_->GetGroupStride());
    const bool hasInputs = data.numInputs > 0 && data.inputs;
    if (hasInputs) LayOut(data.inputs, data.numInputs, stride, inputChannels_, KivAudioPlugin::kMaxHostChannels);
    LayOut(data.outputs, data.numOutputs, stride, outputChannels_, KivAudioPlugin::kMaxHostChannels);
    for (int32 bus = 0; bus < data.numOutputs; ++bus) data.outputs[bus].silenceFlags = 0;
    plugin_->ProcessAudio(hasInputs ? inputChannels_ : nullptr, outputChannels_, data.numSamples, true);
}

void KivAudioPluginVST3Adapter::GenerateMIDIEvent(int32_t deltaFrames, const uint8_t* bytes) {
    KivSynchronizerGuard guard(outgoingLock_);
    outgoing_.push_back({deltaFrames, {bytes[0], bytes[1], bytes[2]}});
}

void KivAudioPluginVST3Adapter::SendOutgoingEvents(ProcessData& data) {
    sending_.clear();
    {
        KivSynchronizerGuard guard(outgoingLock_);
        sending_.swap(outgoing_);
    }
    if (!data.outputEvents) return;
    for (const OutgoingMidi& midi : sending_) {
        Event event{};
        if (FromMidi(midi.deltaFrames, midi.bytes, event)) data.outputEvents->addEvent(event);
    }
}
