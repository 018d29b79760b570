#pragma once
#include <cstdint>

#include "base/kiv_byte_buffer.h"
#include "base/stream/kiv_stream.h"

// A growable in-memory byte array with a position. The block's size is the capacity; it
// grows by doubling and never shrinks except through Compact, so a reused stream stops
// allocating. Invariant: 0 <= position <= length <= capacity.
class KivMemoryStream : public KivStream {
public:
    KivMemoryStream() = default;
    // Shares `buffer`: its bytes become the contents, the position is 0.
    explicit KivMemoryStream(const KivByteBuffer& buffer) { Attach(buffer); }

    using KivStream::ReadLine;
    void Write(const void* data, int32_t count) override;
    int32_t Read(void* buffer, int32_t count) override;
    int32_t ReadLine(char* buffer, int32_t size) override;
    void Seek(int64_t offset, int32_t origin) override;
    int64_t GetPosition() override { return position_; }
    void Flush() override {}
    bool IsEnd() override { return position_ >= length_; }
    int64_t GetSize() override { return length_; }
    // The byte at the position (the end of the data when the position is the length).
    virtual const uint8_t* GetCurrentPointer();

    void Clear();
    void Attach(const KivByteBuffer& buffer);
    void SetCapacity(int32_t capacity);
    void Compact();

    int32_t GetCapacity() const { return buffer_.Size(); }
    int32_t GetLength() const { return length_; }
    const uint8_t* GetData() const { return buffer_.Data(); }
    // The contents as a block of exactly the length (shared when it already fits).
    KivByteBuffer GetContents() const;

private:
    KivByteBuffer buffer_;
    int32_t length_ = 0;
    int32_t position_ = 0;
};
