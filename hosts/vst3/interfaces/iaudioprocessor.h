#pragma once
#include "hosts/vst3/interfaces/funknown.h"
#include "hosts/vst3/interfaces/iprocesscontext.h"
#include "hosts/vst3/interfaces/vst3_vst_types.h"

namespace Steinberg::Vst {

class IParameterChanges;
class IEventList;

struct ProcessSetup {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 maxSamplesPerBlock;
    SampleRate sampleRate;
};

// The channels of one bus for one block.
struct AudioBusBuffers {
    int32 numChannels;
    uint64 silenceFlags;
    union {
        Sample32** channelBuffers32;
        Sample64** channelBuffers64;
    };
};

// Everything one process call brings and takes back.
struct ProcessData {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 numSamples;
    int32 numInputs;
    int32 numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};

class IAudioProcessor : public FUnknown {
public:
    virtual tresult KIV_VST3_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                    SpeakerArrangement* outputs, int32 numOuts) = 0;
    virtual tresult KIV_VST3_API getBusArrangement(BusDirection direction, int32 index, SpeakerArrangement& arrangement) = 0;
    virtual tresult KIV_VST3_API canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 KIV_VST3_API getLatencySamples() = 0;
    virtual tresult KIV_VST3_API setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult KIV_VST3_API setProcessing(TBool state) = 0;
    virtual tresult KIV_VST3_API process(ProcessData& data) = 0;
    virtual uint32 KIV_VST3_API getTailSamples() = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

protected:
    ~IAudioProcessor() = default;
};

}  // namespace Steinberg::Vst
