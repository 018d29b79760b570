#pragma once
#include <cstdint>

#include "base/kiv_byte_buffer.h"

class KivStream;

namespace KivEncoding {

// Buffered byte source for the codecs' line readers: refills its buffer with one Read of
// the stream whenever every buffered byte has been consumed.
class TextReader {
public:
    static constexpr int32_t kDefaultBufferSize = 4096;

    explicit TextReader(KivStream& source, int32_t bufferSize = kDefaultBufferSize);
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    // The next byte; false at the end of the data.
    bool ReadByte(uint8_t& byte) {
        if (index_ == count_ && !Refill()) return false;
        byte = bytes_[index_++];
        return true;
    }
    KivStream& GetSource() const noexcept { return source_; }
    // Before anything was read: whether the data starts with the `count` bytes of `mark`,
    // which are then skipped; otherwise nothing is consumed.
    bool SkipMark(const uint8_t* mark, int32_t count);

private:
    bool Refill();

    KivStream& source_;
    KivByteBuffer buffer_;
    uint8_t* bytes_;
    int32_t size_;
    int32_t count_ = 0;  // valid bytes in the buffer
    int32_t index_ = 0;  // next byte to hand out
};

}  // namespace KivEncoding
