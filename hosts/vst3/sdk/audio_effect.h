#pragma once
#include <memory>
#include <string>

#include "hosts/vst3/interfaces/iaudioprocessor.h"
#include "hosts/vst3/interfaces/icomponent.h"
#include "hosts/vst3/interfaces/iconnectionpoint.h"
#include "hosts/vst3/interfaces/iprocesscontextrequirements.h"
#include "hosts/vst3/sdk/bus_list.h"

namespace Steinberg::Vst {

// The processor side of a plug-in with what every processor answers the same way: its
// buses, arrangements, sample size, processing set-up and context requirements. The
// subclass supplies reference counting, initialise and terminate, state and process.
class AudioEffect : public IComponent, public IAudioProcessor, public IProcessContextRequirements,
                    public IConnectionPoint {
public:
    // ---- IComponent ----------------------------------------------------------------------
    tresult KIV_VST3_API getControllerClassId(TUID classId) override;
    tresult KIV_VST3_API setIoMode(IoMode mode) override;
    int32 KIV_VST3_API getBusCount(MediaType type, BusDirection direction) override;
    tresult KIV_VST3_API getBusInfo(MediaType type, BusDirection direction, int32 index, BusInfo& bus) override;
    tresult KIV_VST3_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) override;
    tresult KIV_VST3_API activateBus(MediaType type, BusDirection direction, int32 index, TBool state) override;
    tresult KIV_VST3_API setActive(TBool state) override;

    // ---- IAudioProcessor -----------------------------------------------------------------
    // Only the arrangements the buses already have are accepted.
    tresult KIV_VST3_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                            int32 numOuts) override;
    tresult KIV_VST3_API getBusArrangement(BusDirection direction, int32 index,
                                           SpeakerArrangement& arrangement) override;
    tresult KIV_VST3_API canProcessSampleSize(int32 symbolicSampleSize) override;
    uint32 KIV_VST3_API getLatencySamples() override { return 0; }
    tresult KIV_VST3_API setupProcessing(ProcessSetup& setup) override;
    tresult KIV_VST3_API setProcessing(TBool state) override;
    uint32 KIV_VST3_API getTailSamples() override { return kNoTail; }

    // ---- IProcessContextRequirements -----------------------------------------------------
    uint32 KIV_VST3_API getProcessContextRequirements() override { return contextRequirements_; }

    // ---- IConnectionPoint ----------------------------------------------------------------
    tresult KIV_VST3_API connect(IConnectionPoint* other) override;
    tresult KIV_VST3_API disconnect(IConnectionPoint* other) override;
    tresult KIV_VST3_API notify(IMessage* message) override;

protected:
    AudioEffect() = default;
    ~AudioEffect() = default;

    AudioBus& AddAudioInput(std::u16string name, SpeakerArrangement arrangement, BusType type, int32 flags);
    AudioBus& AddAudioOutput(std::u16string name, SpeakerArrangement arrangement, BusType type, int32 flags);
    EventBus& AddEventInput(std::u16string name, int32 channels, BusType type, int32 flags);
    EventBus& AddEventOutput(std::u16string name, int32 channels, BusType type, int32 flags);
    void RemoveAllBuses() noexcept;
    BusList* GetBusList(MediaType type, BusDirection direction) noexcept;
    const ProcessSetup& GetProcessSetup() const noexcept { return processSetup_; }
    void SetContextRequirements(uint32 flags) noexcept { contextRequirements_ = flags; }

private:
    bool ArrangementsMatch(const BusList& buses, const SpeakerArrangement* arrangements, int32 count) const;

    BusList audioInputs_{kAudio, kInput};
    BusList audioOutputs_{kAudio, kOutput};
    BusList eventInputs_{kEvent, kInput};
    BusList eventOutputs_{kEvent, kOutput};
    ProcessSetup processSetup_{kRealtime, kSample32, 1024, 44100.0};
    uint32 contextRequirements_ = 0;
    IConnectionPoint* peer_ = nullptr;
};

}  // namespace Steinberg::Vst
