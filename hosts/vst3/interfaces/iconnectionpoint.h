#pragma once
#include "hosts/vst3/interfaces/funknown.h"

namespace Steinberg::Vst {

// Messages between separate component and controller objects. This plug-in is one object,
// so it never reads a message; the type stays opaque.
class IMessage;

class IConnectionPoint : public FUnknown {
public:
    virtual tresult KIV_VST3_API connect(IConnectionPoint* other) = 0;
    virtual tresult KIV_VST3_API disconnect(IConnectionPoint* other) = 0;
    virtual tresult KIV_VST3_API notify(IMessage* message) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);

protected:
    ~IConnectionPoint() = default;
};

}  // namespace Steinberg::Vst
