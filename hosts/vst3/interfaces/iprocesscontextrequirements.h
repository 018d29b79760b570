#pragma once
#include "hosts/vst3/interfaces/funknown.h"

namespace Steinberg::Vst {

// Which transport fields the processor reads; hosts may leave the others invalid.
class IProcessContextRequirements : public FUnknown {
public:
    enum Flags {
        kNeedSystemTime = 1 << 0,
        kNeedContinousTimeSamples = 1 << 1,
        kNeedProjectTimeMusic = 1 << 2,
        kNeedBarPositionMusic = 1 << 3,
        kNeedCycleMusic = 1 << 4,
        kNeedSamplesToNextClock = 1 << 5,
        kNeedTempo = 1 << 6,
        kNeedTimeSignature = 1 << 7,
        kNeedChord = 1 << 8,
        kNeedFrameRate = 1 << 9,
        kNeedTransportState = 1 << 10
    };

    virtual uint32 KIV_VST3_API getProcessContextRequirements() = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);

protected:
    ~IProcessContextRequirements() = default;
};

}  // namespace Steinberg::Vst
