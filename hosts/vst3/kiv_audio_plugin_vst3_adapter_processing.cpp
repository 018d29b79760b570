#include <algorithm>
#include <cmath>

#include "base/kiv_boundary.h"
#include "hosts/vst3/interfaces/ievents.h"
#include "hosts/vst3/interfaces/iparameterchanges.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"
#include "hosts/bridge/kiv_host_channel_layout.h"
#include "hosts/bridge/kiv_host_transport.h"
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

// True when every sample of `count` is exactly zero.
bool IsSilent(const float* samples, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        if (samples[i] != 0.0f) return false;
    return true;
}

uint64 AllChannels(int32 channels) {
    return channels >= 64 ? ~uint64{0} : (uint64{1} << channels) - 1;
}

}  // namespace

tresult KivAudioPluginVST3Adapter::process(ProcessData& data) {
    ProcessingScope processing;
    // Parameter changes and MIDI events of the block are applied on the audio thread too.
    KivThreadRole::AudioScope audioThread;
    return KivGuard("KivAudioPluginVST3Adapter::process", kResultFalse, [&] {
        if (data.processContext && plugin_->GetTransport().usesHostTime) UpdateTransport(*data.processContext);
        DeliverInputEvents(data);
        ProcessAutomated(data);
        SendOutgoingEvents(data);
        return kResultOk;
    });
}

// Every point of every parameter queue takes effect at its own offset: the block is processed
// in pieces from one point to the next, the plug-in's smoothing going on across them. A
// block without audio (a host flushing parameters) applies all its points.
void KivAudioPluginVST3Adapter::ProcessAutomated(ProcessData& data) {
    const int32_t queues = StartParameterQueues(data);
    if (!LayOutBuses(data)) {
        ApplyPointsUpTo(2147483647, queues);
        return;
    }
    if (SkipsSilentBlock(data)) {
        ApplyPointsUpTo(2147483647, queues);
        return;
    }
    const int32_t end = data.numSamples;
    int32_t start = 0;
    while (start < end) {
        ApplyPointsUpTo(start, queues);
        const int32_t next = std::clamp(NextPointOffset(queues, end), start + 1, end);
        ProcessRange(data, start, next);
        start = next;
    }
    ApplyPointsUpTo(end, queues);
    FlagSilentOutputs(data);
    CountQuietFrames(data);
}

bool KivAudioPluginVST3Adapter::InputsFlaggedSilent(const ProcessData& data) const {
    if (data.numInputs <= 0 || !data.inputs) return false;
    for (int32 bus = 0; bus < data.numInputs; ++bus) {
        const uint64 all = AllChannels(data.inputs[bus].numChannels);
        if ((data.inputs[bus].silenceFlags & all) != all) return false;
    }
    return true;
}

// Silent input is skipped once the plug-in has settled on it: its output exactly silent for a
// second of silent input, and at least its latency, so that the delay lines hold only zeros
// and the detectors have fallen far below any threshold. Until then the plug-in runs: a
// release or a look-ahead still sounding is heard in full. The outputs are zeroed and flagged,
// at the cost of checking the flags.
bool KivAudioPluginVST3Adapter::SkipsSilentBlock(ProcessData& data) {
    if (!InputsFlaggedSilent(data)) {
        quietFrames_ = 0;
        return false;
    }
    const int64_t settled = std::max<int64_t>(plugin_->GetSampleRate(), plugin_->GetLatency());
    if (quietFrames_ < settled) return false;
    for (int32 bus = 0; bus < data.numOutputs; ++bus) {
        AudioBusBuffers& buffers = data.outputs[bus];
        for (int32 channel = 0; buffers.channelBuffers32 && channel < buffers.numChannels; ++channel) {
            if (float* samples = buffers.channelBuffers32[channel])
                std::fill(samples, samples + data.numSamples, 0.0f);
        }
        buffers.silenceFlags = AllChannels(buffers.numChannels);
    }
    return true;
}

void KivAudioPluginVST3Adapter::CountQuietFrames(const ProcessData& data) {
    bool silent = InputsFlaggedSilent(data);
    for (int32 bus = 0; silent && bus < data.numOutputs; ++bus) {
        const uint64 all = AllChannels(data.outputs[bus].numChannels);
        silent = (data.outputs[bus].silenceFlags & all) == all;
    }
    quietFrames_ = silent ? quietFrames_ + data.numSamples : 0;
}

int32_t KivAudioPluginVST3Adapter::StartParameterQueues(ProcessData& data) {
    IParameterChanges* changes = data.inputParameterChanges;
    const int32 count = changes ? std::min<int32>(changes->getParameterCount(), kMaxQueues) : 0;
    for (int32 index = 0; index < count; ++index) {
        IParamValueQueue* queue = changes->getParameterData(index);
        queues_[index] = queue;
        nextPoint_[index] = 0;
        pointCount_[index] = queue ? std::max<int32>(0, queue->getPointCount()) : 0;
    }
    return count;
}

// Applies the points at or before `offset` not applied yet.
void KivAudioPluginVST3Adapter::ApplyPointsUpTo(int32_t offset, int32_t queues) {
    for (int32_t index = 0; index < queues; ++index) {
        IParamValueQueue* queue = queues_[index];
        while (nextPoint_[index] < pointCount_[index]) {
            int32 pointOffset = 0;
            ParamValue value = 0.0;
            if (queue->getPoint(nextPoint_[index], pointOffset, value) != kResultOk) {
                nextPoint_[index] = pointCount_[index];
                break;
            }
            if (pointOffset > offset) break;
            ++nextPoint_[index];
            ApplyParameterChange(queue->getParameterId(), value, true);
        }
    }
}

// The offset of the earliest point not applied yet, after the ones applied; `end` when none.
int32_t KivAudioPluginVST3Adapter::NextPointOffset(int32_t queues, int32_t end) {
    int32_t next = end;
    for (int32_t index = 0; index < queues; ++index) {
        if (nextPoint_[index] >= pointCount_[index]) continue;
        int32 pointOffset = 0;
        ParamValue value = 0.0;
        if (queues_[index]->getPoint(nextPoint_[index], pointOffset, value) == kResultOk)
            next = std::min<int32_t>(next, pointOffset);
    }
    return next;
}

// Only the fields the host marks valid.
void KivAudioPluginVST3Adapter::UpdateTransport(const ProcessContext& context) {
    const auto has = [&](uint32 flag) { return (context.state & flag) != 0; };
    KivHostTime time;
    time.playing = has(ProcessContext::kPlaying);
    time.hasPosition = has(ProcessContext::kProjectTimeMusicValid);
    time.position = context.projectTimeMusic;
    time.hasTempo = has(ProcessContext::kTempoValid);
    time.tempo = context.tempo;
    time.hasBarStart = has(ProcessContext::kBarPositionValid);
    time.barStart = context.barPositionMusic;
    time.hasTimeSignature = has(ProcessContext::kTimeSigValid);
    time.timeSignatureNumerator = context.timeSigNumerator;
    time.timeSignatureDenominator = context.timeSigDenominator;
    time.cycleActive = has(ProcessContext::kCycleActive) && has(ProcessContext::kCycleValid);
    time.cycleStart = context.cycleStartMusic;
    time.cycleEnd = context.cycleEndMusic;
    KivApplyHostTime(time, plugin_->GetTransport(), lastTransportPosition_);
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

// False when the block holds no audio the plug-in can process.
bool KivAudioPluginVST3Adapter::LayOutBuses(ProcessData& data) {
    if (data.numSamples <= 0 || data.numOutputs <= 0 || !data.outputs) return false;
    if (data.symbolicSampleSize != kSample32) return false;
    const int32_t stride = std::max(1, plugin_->GetGroupStride());
    KivHostChannelGroup groups[KivAudioPlugin::kMaxHostChannels];
    const int32 inputBuses = data.inputs ? std::min<int32>(data.numInputs, KivAudioPlugin::kMaxHostChannels) : 0;
    for (int32 bus = 0; bus < inputBuses; ++bus) groups[bus] = {data.inputs[bus].channelBuffers32, data.inputs[bus].numChannels};
    KivLayOutHostChannels(groups, inputBuses, stride, inputChannels_, KivAudioPlugin::kMaxHostChannels,
                          KivNarrowGroupFill::kRepeatLast);
    const int32 outputBuses = std::min<int32>(data.numOutputs, KivAudioPlugin::kMaxHostChannels);
    for (int32 bus = 0; bus < outputBuses; ++bus)
        groups[bus] = {data.outputs[bus].channelBuffers32, data.outputs[bus].numChannels};
    KivLayOutHostChannels(groups, outputBuses, stride, outputChannels_, KivAudioPlugin::kMaxHostChannels,
                          KivNarrowGroupFill::kLeaveEmpty);
    return true;
}

void KivAudioPluginVST3Adapter::ProcessRange(ProcessData& data, int32_t start, int32_t end) {
    const bool hasInputs = data.numInputs > 0 && data.inputs;
    for (int32_t channel = 0; channel < KivAudioPlugin::kMaxHostChannels; ++channel) {
        pieceInputs_[channel] = inputChannels_[channel] ? inputChannels_[channel] + start : nullptr;
        pieceOutputs_[channel] = outputChannels_[channel] ? outputChannels_[channel] + start : nullptr;
    }
    plugin_->ProcessAudio(hasInputs ? pieceInputs_ : nullptr, pieceOutputs_, end - start, true);
}

// A host may skip what follows a channel flagged silent; only exact zeros are flagged.
void KivAudioPluginVST3Adapter::FlagSilentOutputs(ProcessData& data) {
    for (int32 bus = 0; bus < data.numOutputs; ++bus) {
        AudioBusBuffers& buffers = data.outputs[bus];
        buffers.silenceFlags = 0;
        if (!buffers.channelBuffers32) continue;
        for (int32 channel = 0; channel < std::min<int32>(buffers.numChannels, 64); ++channel) {
            const float* samples = buffers.channelBuffers32[channel];
            if (samples && IsSilent(samples, data.numSamples)) buffers.silenceFlags |= uint64{1} << channel;
        }
    }
}

void KivAudioPluginVST3Adapter::SendOutgoingEvents(ProcessData& data) {
    KivHostMidiMessage message;
    while (OutgoingMidi().Take(message)) {
        Event event{};
        if (data.outputEvents && FromMidi(message.deltaFrames, message.bytes, event)) data.outputEvents->addEvent(event);
    }
}
