#pragma once
#include <cstdint>

#include "base/kiv_byte_buffer.h"

class KivStream;

namespace KivEncoding {

// Buffered byte sink for the codecs' writers: hands the full buffer to the stream with one
// Write before it takes a byte that no longer fits. Call Flush when the text is complete;
// the destructor flushes too but can only drop a failure there.
class TextWriter {
public:
    static constexpr int32_t kDefaultBufferSize = 4096;

    explicit TextWriter(KivStream& target, int32_t bufferSize = kDefaultBufferSize);
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    void WriteByte(uint8_t byte) {
        if (count_ == size_) WritePending();
        bytes_[count_++] = byte;
    }
    void WriteBytes(const uint8_t* bytes, int32_t count);
    // Writes the buffered bytes to the stream (the stream itself is not flushed).
    void Flush() { WritePending(); }
    KivStream& GetTarget() const noexcept { return target_; }

private:
    void WritePending();

    KivStream& target_;
    KivByteBuffer buffer_;
    uint8_t* bytes_;
    int32_t size_;
    int32_t count_ = 0;
};

}  // namespace KivEncoding
