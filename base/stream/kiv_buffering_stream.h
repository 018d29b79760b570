#pragma once
#include <cstdint>

#include "base/kiv_byte_buffer.h"
#include "base/stream/kiv_stream.h"

// Cuts the byte flow into fixed-size blocks and passes each through a block transform on its
// way to the target (writing) or back from it (reading). Block ciphers derive from it and
// supply the transform; a pluggable processor adds chaining between blocks.
class KivBufferingStream : public KivStream {
public:
    // A per-block step around the transform.
    class BlockModificationProcessor {
    public:
        virtual ~BlockModificationProcessor() = default;
        // Before encoding: may change the input block; false writes it untransformed.
        virtual bool PrepareEncode(uint8_t* input, int32_t size) = 0;
        // After encoding: sees the output block that goes to the target.
        virtual void FinishEncode(const uint8_t* output, int32_t size) = 0;
        // Before decoding: sees the block read from the target; false hands it out unchanged.
        virtual bool PrepareDecode(const uint8_t* encoded, int32_t size) = 0;
        // After decoding: may change the decoded block.
        virtual void FinishDecode(uint8_t* decoded, int32_t size) = 0;
    };

    // Cipher-block chaining: each plain block is combined (XOR) with the previous encoded
    // block, starting from an initialisation vector.
    class CBCBlockModification : public BlockModificationProcessor {
    public:
        explicit CBCBlockModification(const KivByteBuffer& initialVector) : chain_(initialVector) {}
        bool PrepareEncode(uint8_t* input, int32_t size) override;
        void FinishEncode(const uint8_t* output, int32_t size) override;
        bool PrepareDecode(const uint8_t* encoded, int32_t size) override;
        void FinishDecode(uint8_t* decoded, int32_t size) override;

    private:
        void Combine(uint8_t* block, int32_t size) const;

        KivByteBuffer chain_;
        KivByteBuffer pending_;  // the encoded block being decoded, the next link of the chain
    };

    KivBufferingStream() = default;

    // Plain blocks of `inputBlockSize` bytes become encoded blocks of `outputBlockSize`
    // bytes. The processor is not owned and may be null (every block is transformed).
    void Initialize(KivStream* target, int32_t inputBlockSize, int32_t outputBlockSize,
                    BlockModificationProcessor* processor = nullptr);

    KivStream* GetSubStream() override;
    void Write(const void* data, int32_t count) override;
    int32_t Read(void* buffer, int32_t count) override;
    void Flush() override;
    bool IsEnd() override;
    bool IsOpen() override { return target_ != nullptr && inputBlockSize_ > 0; }
    // Processes a partly filled block, zero-padded to the block size.
    virtual void FinishBlock();
    // Turns a plain block into an encoded block (`encode`) or back.
    virtual void ModifyBlock(const uint8_t* source, uint8_t* destination, bool encode) = 0;

protected:
    int32_t GetInputBlockSize() const { return inputBlockSize_; }
    int32_t GetOutputBlockSize() const { return outputBlockSize_; }

private:
    void RequireInitialized() const;
    void ProcessInputBlock(int32_t fill);
    bool LoadDecodedBlock();

    KivStream* target_ = nullptr;
    KivByteBuffer inputBlock_;
    int32_t inputBlockSize_ = 0;
    KivByteBuffer outputBlock_;
    int32_t outputBlockSize_ = 0;
    int32_t inputFill_ = 0;
    int32_t decodedAvailable_ = 0;  // reading: bytes of the input block not yet handed out
    int32_t decodedOffset_ = 0;
    BlockModificationProcessor* processor_ = nullptr;
};
