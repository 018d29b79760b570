#include "base/stream/kiv_hash_stream.h"

#include <algorithm>
#include <cstring>

#include "base/kiv_exception.h"

void KivHashStream::Start() {
    blockFill_ = 0;
    messageLength_ = 0;
    readPosition_ = 0;
    initialized_ = true;
}

void KivHashStream::Write(const void* data, int32_t count) {
    if (!initialized_) {
        throw KivException("Cryptographic hash stream has not been initialized.", KivException::kNotInitialized);
    }
    if (count <= 0) return;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    messageLength_ += static_cast<uint64_t>(count);
    if (blockFill_ > 0) {
        int32_t piece = std::min(count, kBlockSize - blockFill_);
        std::memcpy(block_ + blockFill_, bytes, static_cast<size_t>(piece));
        blockFill_ += piece;
        bytes += piece;
        count -= piece;
        if (blockFill_ < kBlockSize) return;
        ProcessBlock(block_);
        blockFill_ = 0;
    }
    for (; count >= kBlockSize; bytes += kBlockSize, count -= kBlockSize) ProcessBlock(bytes);
    std::memcpy(block_, bytes, static_cast<size_t>(count));
    blockFill_ = count;
}

void KivHashStream::PadMessage() {
    uint64_t bitCount = messageLength_ * 8;
    block_[blockFill_++] = 0x80;
    if (blockFill_ > kBlockSize - 8) {
        std::memset(block_ + blockFill_, 0, static_cast<size_t>(kBlockSize - blockFill_));
        ProcessBlock(block_);
        blockFill_ = 0;
    }
    std::memset(block_ + blockFill_, 0, static_cast<size_t>(kBlockSize - 8 - blockFill_));
    for (int32_t index = 0; index < 8; ++index) {
        block_[kBlockSize - 8 + index] = static_cast<uint8_t>(bitCount >> (8 * index));
    }
    ProcessBlock(block_);
    blockFill_ = 0;
}

void KivHashStream::Finish() {
    if (!initialized_) return;
    PadMessage();
    StoreDigest(digest_);
    readPosition_ = 0;
    initialized_ = false;
}

int32_t KivHashStream::Read(void* buffer, int32_t count) {
    Finish();
    int32_t available = std::clamp(digestSize_ - readPosition_, 0, std::max(count, 0));
    std::memcpy(buffer, digest_ + readPosition_, static_cast<size_t>(available));
    readPosition_ += available;
    return available;
}
