#pragma once
#include "hosts/vst3/interfaces/funknown.h"

namespace Steinberg::Vst {

// The host's context object: its name, and objects it creates for the plug-in.
class IHostApplication : public FUnknown {
public:
    virtual tresult KIV_VST3_API getName(String128 name) = 0;
    virtual tresult KIV_VST3_API createInstance(TUID cid, TUID iid, void** object) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);

protected:
    ~IHostApplication() = default;
};

}  // namespace Steinberg::Vst
