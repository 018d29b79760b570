#pragma once
#include <cstdint>

#include "base/stream/kiv_stream.h"

// A digest of everything written. Bytes are gathered into blocks for the digest's
// compression function; Finish pads the message and makes the digest readable through
// Read. After Finish the stream must be initialised again before it takes more bytes.
class KivHashStream : public KivStream {
public:
    static constexpr int32_t kMaxDigestSize = 20;

    void Write(const void* data, int32_t count) override;
    // The digest bytes; finishes first when the stream is still taking bytes.
    int32_t Read(void* buffer, int32_t count) override;
    bool IsEnd() override { return !initialized_ && readPosition_ >= digestSize_; }
    int64_t GetSize() override { return digestSize_; }
    void Flush() override {}
    virtual void Finish();

    int32_t GetDigestSize() const { return digestSize_; }

protected:
    static constexpr int32_t kBlockSize = 64;

    explicit KivHashStream(int32_t digestSize) : digestSize_(digestSize) {}
    // Starts a new message; the derived class sets its own initial state beside it.
    void Start();
    virtual void ProcessBlock(const uint8_t* block) = 0;
    virtual void StoreDigest(uint8_t* digest) const = 0;

    // Both digests read and write their words least significant byte first.
    static void LoadWords(const uint8_t* block, uint32_t* words, int32_t count) {
        for (int32_t index = 0; index < count; ++index, block += 4) {
            words[index] = uint32_t(block[0]) | uint32_t(block[1]) << 8 | uint32_t(block[2]) << 16 |
                           uint32_t(block[3]) << 24;
        }
    }
    static void StoreWords(const uint32_t* words, int32_t count, uint8_t* bytes) {
        for (int32_t index = 0; index < count; ++index) {
            for (int32_t shift = 0; shift < 32; shift += 8) *bytes++ = static_cast<uint8_t>(words[index] >> shift);
        }
    }
    static uint32_t RotateLeft(uint32_t value, int32_t bits) { return value << bits | value >> (32 - bits); }

private:
    // MD4-family padding: 0x80, zeros, then the length in bits, least significant byte first.
    void PadMessage();

    uint8_t block_[kBlockSize] = {};
    int32_t blockFill_ = 0;
    uint64_t messageLength_ = 0;
    uint8_t digest_[kMaxDigestSize] = {};
    int32_t digestSize_;
    int32_t readPosition_ = 0;
    bool initialized_ = false;
};
