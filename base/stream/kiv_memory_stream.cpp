#include "base/stream/kiv_memory_stream.h"

#include <algorithm>
#include <cstring>

#include "base/kiv_exception.h"

void KivMemoryStream::Write(const void* data, int32_t count) {
    if (count <= 0) return;
    int32_t needed = std::max(length_, position_ + count);
    if (needed > GetCapacity()) SetCapacity(needed);
    std::memcpy(buffer_.MutableData() + position_, data, static_cast<size_t>(count));
    position_ += count;
    length_ = std::max(length_, position_);
}

int32_t KivMemoryStream::Read(void* buffer, int32_t count) {
    int32_t available = std::min(count, length_ - position_);
    if (available <= 0) return 0;
    std::memcpy(buffer, buffer_.Data() + position_, static_cast<size_t>(available));
    position_ += available;
    return available;
}

// Scanning the block directly instead of reading byte by byte lets a line that exactly fills
// the buffer still see its line end and report a complete line.
int32_t KivMemoryStream::ReadLine(char* buffer, int32_t size) {
    if (size <= 0) return kLineTruncated;
    buffer[0] = 0;
    if (position_ >= length_) return kLineNoData;
    const uint8_t* data = buffer_.Data();
    int32_t stored = 0;
    int32_t index = position_;
    for (; index < length_; ++index) {
        uint8_t byte = data[index];
        if (byte == '\n') {
            buffer[stored] = 0;
            position_ = index + 1;
            return kLineComplete;
        }
        if (byte == '\r') continue;
        if (stored == size - 1) {
            buffer[stored] = 0;
            position_ = index;
            return kLineTruncated;
        }
        buffer[stored++] = static_cast<char>(byte);
    }
    buffer[stored] = 0;
    position_ = length_;
    return kLineComplete;
}

void KivMemoryStream::Seek(int64_t offset, int32_t origin) {
    int64_t distance = static_cast<int32_t>(offset);
    int64_t target = 0;
    switch (origin) {
        case kFromStart: target = distance; break;
        case kFromPosition: target = position_ + distance; break;
        case kFromEnd: target = length_ + distance; break;
        default: throw KivException("Invalid seek origin.", KivException::kInvalidArgument);
    }
    position_ = static_cast<int32_t>(std::clamp<int64_t>(target, 0, length_));
}

const uint8_t* KivMemoryStream::GetCurrentPointer() { return buffer_.Data() + position_; }

void KivMemoryStream::Clear() {
    buffer_ = KivByteBuffer();
    length_ = 0;
    position_ = 0;
}

void KivMemoryStream::Attach(const KivByteBuffer& buffer) {
    buffer_ = buffer;
    length_ = buffer.Size();
    position_ = 0;
}

void KivMemoryStream::SetCapacity(int32_t capacity) {
    int32_t current = GetCapacity();
    if (capacity == current) return;
    int32_t grown = current;
    if (grown == 0) {
        grown = capacity;
    } else {
        while (grown < capacity) grown = grown > 0x3FFFFFFF ? 0x7FFFFFFF : grown * 2;
    }
    buffer_.Resize(grown);
    length_ = std::clamp(length_, 0, std::max(capacity, 0));
    position_ = std::clamp(position_, 0, std::max(capacity, 0));
}

void KivMemoryStream::Compact() { buffer_.Resize(length_); }

KivByteBuffer KivMemoryStream::GetContents() const {
    if (length_ == buffer_.Size()) return buffer_;
    return KivByteBuffer::Copy(buffer_.Data(), length_);
}
