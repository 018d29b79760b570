#pragma once
#include "hosts/vst3/interfaces/funknown.h"

namespace Steinberg {

// A host's byte stream, where component and controller state is written and read.
class IBStream : public FUnknown {
public:
    enum IStreamSeekMode { kIBSeekSet = 0, kIBSeekCur, kIBSeekEnd };

    virtual tresult KIV_VST3_API read(void* buffer, int32 numBytes, int32* numBytesRead = nullptr) = 0;
    virtual tresult KIV_VST3_API write(void* buffer, int32 numBytes, int32* numBytesWritten = nullptr) = 0;
    virtual tresult KIV_VST3_API seek(int64 position, int32 mode, int64* result = nullptr) = 0;
    virtual tresult KIV_VST3_API tell(int64* position) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);

protected:
    ~IBStream() = default;
};

}  // namespace Steinberg
