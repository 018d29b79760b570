#include "base/stream/kiv_zlib_stream.h"

#include <zlib.h>

#include <algorithm>
#include <new>

#include "base/kiv_exception.h"
#include "base/kiv_memory.h"

namespace {

constexpr uInt kBufferSize = 4096;

// zlib is C: an allocation failure must come back as null, not as an exception.
voidpf AllocateForZLib(voidpf, uInt items, uInt size) {
    try {
        return KivMemory::Allocate(static_cast<size_t>(items) * size);
    } catch (...) {
        return Z_NULL;
    }
}

void FreeForZLib(voidpf, voidpf block) { KivMemory::Free(block); }

[[noreturn]] void RaiseInvalidContent() {
    throw KivException("Source compressed stream has invalid content.", KivException::kInputOutput);
}

}  // namespace

struct KivZLibStream::State {
    z_stream zlib{};
    Bytef input[kBufferSize];
    Bytef output[kBufferSize];

    static State* Create() { return new (KivMemory::Allocate(sizeof(State))) State(); }
    void Destroy() noexcept {
        this->~State();
        KivMemory::Free(this);
    }
};

KivZLibStream::~KivZLibStream() { DropState(); }

int32_t KivZLibStream::LevelForQuality(int32_t quality) {
    int64_t level = (static_cast<int64_t>(quality) - 1) / 10;
    return static_cast<int32_t>(std::clamp<int64_t>(level, 0, 9));
}

void KivZLibStream::DropState() noexcept {
    if (!state_) return;
    if (compressing_) {
        deflateEnd(&state_->zlib);
    } else {
        inflateEnd(&state_->zlib);
    }
    state_->Destroy();
    state_ = nullptr;
}

void KivZLibStream::Open(KivStream* target, bool compress, int32_t quality) {
    Close();
    compressing_ = compress;
    target_ = target;
    uncompressedCount_ = 0;
    ended_ = false;
    if (!target) return;
    State* state = State::Create();
    state->zlib.zalloc = AllocateForZLib;
    state->zlib.zfree = FreeForZLib;
    int result = compress ? deflateInit(&state->zlib, LevelForQuality(quality)) : inflateInit(&state->zlib);
    if (result != Z_OK) {
        state->Destroy();
        target_ = nullptr;
        throw KivException(compress ? "Could not initialize deflating." : "Could not initialize inflating.",
                           KivException::kFailure);
    }
    state_ = state;
}

KivStream* KivZLibStream::GetSubStream() { return target_ ? target_ : KivStream::GetSubStream(); }

void KivZLibStream::WriteProducedOutput() {
    int32_t produced = static_cast<int32_t>(kBufferSize - state_->zlib.avail_out);
    if (produced > 0) target_->Write(state_->output, produced);
}

void KivZLibStream::Write(const void* data, int32_t count) {
    if (!state_ || !compressing_) return KivStream::Write(data, count);
    if (count <= 0) return;
    z_stream& zlib = state_->zlib;
    zlib.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    zlib.avail_in = static_cast<uInt>(count);
    do {
        zlib.next_out = state_->output;
        zlib.avail_out = kBufferSize;
        deflate(&zlib, Z_NO_FLUSH);
        WriteProducedOutput();
    } while (zlib.avail_out == 0);
    uncompressedCount_ += count;
}

void KivZLibStream::Finish() {
    if (!state_ || !compressing_) return;
    z_stream& zlib = state_->zlib;
    zlib.next_in = nullptr;
    zlib.avail_in = 0;
    do {
        zlib.next_out = state_->output;
        zlib.avail_out = kBufferSize;
        deflate(&zlib, Z_FINISH);
        WriteProducedOutput();
    } while (zlib.avail_out == 0);
    DropState();
}

void KivZLibStream::Close() {
    if (state_ && compressing_) throw KivException("ZLIB stream has not been terminated.", KivException::kFailure);
    DropState();
    target_ = nullptr;
}

bool KivZLibStream::RefillInput() {
    int32_t got = target_->Read(state_->input, static_cast<int32_t>(kBufferSize));
    state_->zlib.next_in = state_->input;
    state_->zlib.avail_in = static_cast<uInt>(std::max(got, 0));
    return got > 0;
}

int32_t KivZLibStream::Read(void* buffer, int32_t count) {
    if (!state_ || compressing_) return KivStream::Read(buffer, count);
    if (ended_ || count <= 0) return 0;
    z_stream& zlib = state_->zlib;
    zlib.next_out = static_cast<Bytef*>(buffer);
    zlib.avail_out = static_cast<uInt>(count);
    while (zlib.avail_out > 0) {
        if (zlib.avail_in == 0 && !RefillInput()) RaiseInvalidContent();
        int result = inflate(&zlib, Z_SYNC_FLUSH);
        if (result == Z_STREAM_END) {
            ended_ = true;
            break;
        }
        if (result == Z_DATA_ERROR || result == Z_MEM_ERROR || result == Z_NEED_DICT || result == Z_STREAM_ERROR) {
            RaiseInvalidContent();
        }
    }
    int32_t produced = count - static_cast<int32_t>(zlib.avail_out);
    uncompressedCount_ += produced;
    return produced;
}

void KivZLibStream::Flush() {
    if (!target_) return KivStream::Flush();
    target_->Flush();
}

bool KivZLibStream::IsEnd() {
    if (!target_) return KivStream::IsEnd();
    if (!compressing_ && state_) {
        if (ended_) return true;
        if (state_->zlib.avail_in > 0) return false;
    }
    return target_->IsEnd();
}
