#pragma once
#include "base/stream/kiv_dispatch_stream.h"

// Bytes as upper-case hexadecimal text on the target, two characters per byte, high nibble
// first. Positions, sizes and seek offsets are counted in decoded bytes.
class KivHexaStream : public KivDispatchStream {
public:
    explicit KivHexaStream(KivStream* target = nullptr) : KivDispatchStream(target) {}

    void Write(const void* data, int32_t count) override;
    // Only whole pairs count: an odd last character is consumed and dropped. Lower-case
    // digits are accepted; any other character reads as the digit 0.
    int32_t Read(void* buffer, int32_t count) override;
    void Seek(int64_t offset, int32_t origin) override;
    int64_t GetPosition() override;
    int64_t GetSize() override;
};
