#include "base/stream/kiv_buffering_stream.h"

#include <algorithm>
#include <cstring>

#include "base/kiv_exception.h"

void KivBufferingStream::CBCBlockModification::Combine(uint8_t* block, int32_t size) const {
    int32_t count = std::min(size, chain_.Size());
    for (int32_t index = 0; index < count; ++index) block[index] ^= chain_.Data()[index];
}

bool KivBufferingStream::CBCBlockModification::PrepareEncode(uint8_t* input, int32_t size) {
    Combine(input, size);
    return true;
}

void KivBufferingStream::CBCBlockModification::FinishEncode(const uint8_t* output, int32_t size) {
    chain_ = KivByteBuffer::Copy(output, size);
}

bool KivBufferingStream::CBCBlockModification::PrepareDecode(const uint8_t* encoded, int32_t size) {
    pending_ = KivByteBuffer::Copy(encoded, size);
    return true;
}

void KivBufferingStream::CBCBlockModification::FinishDecode(uint8_t* decoded, int32_t size) {
    Combine(decoded, size);
    chain_ = pending_;
}

void KivBufferingStream::Initialize(KivStream* target, int32_t inputBlockSize, int32_t outputBlockSize,
                                    BlockModificationProcessor* processor) {
    target_ = target;
    inputBlockSize_ = std::max(inputBlockSize, 0);
    outputBlockSize_ = std::max(outputBlockSize, 0);
    inputBlock_ = KivByteBuffer(inputBlockSize_);
    outputBlock_ = KivByteBuffer(outputBlockSize_);
    inputFill_ = 0;
    decodedAvailable_ = 0;
    decodedOffset_ = 0;
    processor_ = processor;
}

void KivBufferingStream::RequireInitialized() const {
    if (!target_ || inputBlockSize_ <= 0 || outputBlockSize_ <= 0) {
        throw KivException("Buffering stream has not been initialized.", KivException::kNotInitialized);
    }
}

KivStream* KivBufferingStream::GetSubStream() { return target_ ? target_ : KivStream::GetSubStream(); }

void KivBufferingStream::ProcessInputBlock(int32_t fill) {
    uint8_t* input = inputBlock_.MutableData();
    if (fill < inputBlockSize_) std::memset(input + fill, 0, static_cast<size_t>(inputBlockSize_ - fill));
    if (processor_ && !processor_->PrepareEncode(input, inputBlockSize_)) {
        target_->Write(input, fill);
        return;
    }
    uint8_t* output = outputBlock_.MutableData();
    ModifyBlock(input, output, true);
    if (processor_) processor_->FinishEncode(output, outputBlockSize_);
    target_->Write(output, outputBlockSize_);
}

void KivBufferingStream::Write(const void* data, int32_t count) {
    RequireInitialized();
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    while (count > 0) {
        int32_t piece = std::min(count, inputBlockSize_ - inputFill_);
        std::memcpy(inputBlock_.MutableData() + inputFill_, bytes, static_cast<size_t>(piece));
        inputFill_ += piece;
        bytes += piece;
        count -= piece;
        if (inputFill_ == inputBlockSize_) {
            inputFill_ = 0;
            ProcessInputBlock(inputBlockSize_);
        }
    }
}

void KivBufferingStream::FinishBlock() {
    RequireInitialized();
    if (inputFill_ == 0) return;
    int32_t fill = inputFill_;
    inputFill_ = 0;
    ProcessInputBlock(fill);
}

// A short block at the end of the target can only have been written untransformed.
bool KivBufferingStream::LoadDecodedBlock() {
    uint8_t* encoded = outputBlock_.MutableData();
    int32_t got = target_->Read(encoded, outputBlockSize_);
    if (got <= 0) return false;
    uint8_t* decoded = inputBlock_.MutableData();
    decodedOffset_ = 0;
    if (got < outputBlockSize_ || (processor_ && !processor_->PrepareDecode(encoded, got))) {
        std::memcpy(decoded, encoded, static_cast<size_t>(std::min(got, inputBlockSize_)));
        decodedAvailable_ = std::min(got, inputBlockSize_);
        return true;
    }
    ModifyBlock(encoded, decoded, false);
    if (processor_) processor_->FinishDecode(decoded, inputBlockSize_);
    decodedAvailable_ = inputBlockSize_;
    return true;
}

int32_t KivBufferingStream::Read(void* buffer, int32_t count) {
    RequireInitialized();
    uint8_t* bytes = static_cast<uint8_t*>(buffer);
    int32_t produced = 0;
    while (produced < count) {
        if (decodedAvailable_ == 0 && !LoadDecodedBlock()) break;
        int32_t piece = std::min(count - produced, decodedAvailable_);
        std::memcpy(bytes + produced, inputBlock_.Data() + decodedOffset_, static_cast<size_t>(piece));
        decodedOffset_ += piece;
        decodedAvailable_ -= piece;
        produced += piece;
    }
    return produced;
}

void KivBufferingStream::Flush() {
    RequireInitialized();
    target_->Flush();
}

bool KivBufferingStream::IsEnd() {
    RequireInitialized();
    return decodedAvailable_ == 0 && target_->IsEnd();
}
