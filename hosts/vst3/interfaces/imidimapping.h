#pragma once
#include "hosts/vst3/interfaces/funknown.h"
#include "hosts/vst3/interfaces/vst3_vst_types.h"

namespace Steinberg::Vst {

// MIDI controllers reach a VST 3 plug-in as parameters; this names the parameter of each.
class IMidiMapping : public FUnknown {
public:
    virtual tresult KIV_VST3_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                             CtrlNumber midiControllerNumber, ParamID& id) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);

protected:
    ~IMidiMapping() = default;
};

}  // namespace Steinberg::Vst
