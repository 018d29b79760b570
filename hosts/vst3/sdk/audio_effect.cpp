#include "hosts/vst3/sdk/audio_effect.h"

namespace Steinberg::Vst {

namespace {

AudioBus* AudioBusAt(BusList* buses, int32 index) { return buses ? static_cast<AudioBus*>(buses->At(index)) : nullptr; }

}  // namespace

tresult AudioEffect::getControllerClassId(TUID /*classId*/) { return kNotImplemented; }

tresult AudioEffect::setIoMode(IoMode /*mode*/) { return kNotImplemented; }

int32 AudioEffect::getBusCount(MediaType type, BusDirection direction) {
    const BusList* buses = GetBusList(type, direction);
    return buses ? buses->Count() : 0;
}

tresult AudioEffect::getBusInfo(MediaType type, BusDirection direction, int32 index, BusInfo& bus) {
    const BusList* buses = GetBusList(type, direction);
    return buses && buses->GetInfo(index, bus) ? kResultOk : kInvalidArgument;
}

tresult AudioEffect::getRoutingInfo(RoutingInfo& /*inInfo*/, RoutingInfo& /*outInfo*/) { return kNotImplemented; }

tresult AudioEffect::activateBus(MediaType type, BusDirection direction, int32 index, TBool state) {
    const BusList* buses = GetBusList(type, direction);
    Bus* bus = buses ? buses->At(index) : nullptr;
    if (!bus) return kInvalidArgument;
    bus->SetActive(state != 0);
    return kResultOk;
}

tresult AudioEffect::setActive(TBool /*state*/) { return kResultOk; }

bool AudioEffect::ArrangementsMatch(const BusList& buses, const SpeakerArrangement* arrangements, int32 count) const {
    if (count != buses.Count() || (count > 0 && !arrangements)) return false;
    for (int32 i = 0; i < count; ++i)
        if (static_cast<const AudioBus*>(buses.At(i))->GetArrangement() != arrangements[i]) return false;
    return true;
}

tresult AudioEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                        int32 numOuts) {
    const bool match = ArrangementsMatch(audioInputs_, inputs, numIns) && ArrangementsMatch(audioOutputs_, outputs, numOuts);
    return match ? kResultTrue : kResultFalse;
}

tresult AudioEffect::getBusArrangement(BusDirection direction, int32 index, SpeakerArrangement& arrangement) {
    const AudioBus* bus = AudioBusAt(GetBusList(kAudio, direction), index);
    if (!bus) return kInvalidArgument;
    arrangement = bus->GetArrangement();
    return kResultOk;
}

tresult AudioEffect::canProcessSampleSize(int32 symbolicSampleSize) {
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult AudioEffect::setupProcessing(ProcessSetup& setup) {
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue) return kResultFalse;
    processSetup_ = setup;
    return kResultOk;
}

tresult AudioEffect::setProcessing(TBool /*state*/) { return kResultOk; }

tresult AudioEffect::connect(IConnectionPoint* other) {
    if (!other) return kInvalidArgument;
    if (peer_) return kResultFalse;
    peer_ = other;
    return kResultOk;
}

tresult AudioEffect::disconnect(IConnectionPoint* other) {
    if (!peer_ || other != peer_) return kResultFalse;
    peer_ = nullptr;
    return kResultOk;
}

tresult AudioEffect::notify(IMessage* message) { return message ? kResultFalse : kInvalidArgument; }

AudioBus& AudioEffect::AddAudioInput(std::u16string name, SpeakerArrangement arrangement, BusType type, int32 flags) {
    return static_cast<AudioBus&>(audioInputs_.Add(std::make_unique<AudioBus>(std::move(name), type, flags, arrangement)));
}

AudioBus& AudioEffect::AddAudioOutput(std::u16string name, SpeakerArrangement arrangement, BusType type, int32 flags) {
    return static_cast<AudioBus&>(audioOutputs_.Add(std::make_unique<AudioBus>(std::move(name), type, flags, arrangement)));
}

EventBus& AudioEffect::AddEventInput(std::u16string name, int32 channels, BusType type, int32 flags) {
    return static_cast<EventBus&>(eventInputs_.Add(std::make_unique<EventBus>(std::move(name), type, flags, channels)));
}

EventBus& AudioEffect::AddEventOutput(std::u16string name, int32 channels, BusType type, int32 flags) {
    return static_cast<EventBus&>(eventOutputs_.Add(std::make_unique<EventBus>(std::move(name), type, flags, channels)));
}

void AudioEffect::RemoveAllBuses() noexcept {
    audioInputs_.Clear();
    audioOutputs_.Clear();
    eventInputs_.Clear();
    eventOutputs_.Clear();
}

BusList* AudioEffect::GetBusList(MediaType type, BusDirection direction) noexcept {
    if (type == kAudio) return direction == kInput ? &audioInputs_ : direction == kOutput ? &audioOutputs_ : nullptr;
    if (type == kEvent) return direction == kInput ? &eventInputs_ : direction == kOutput ? &eventOutputs_ : nullptr;
    return nullptr;
}

}  // namespace Steinberg::Vst
