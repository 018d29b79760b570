#pragma once
#include "hosts/vst3/interfaces/vst3_types.h"

namespace Steinberg {

// The root of every VST 3 interface: reference counting and the question for another
// interface of the same object. Interfaces have no virtual destructor: their table holds
// exactly these slots, and objects are destroyed by their last release.
class FUnknown {
public:
    virtual tresult KIV_VST3_API queryInterface(const TUID iid, void** object) = 0;
    virtual uint32 KIV_VST3_API addRef() = 0;
    virtual uint32 KIV_VST3_API release() = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

protected:
    ~FUnknown() = default;
};

}  // namespace Steinberg
