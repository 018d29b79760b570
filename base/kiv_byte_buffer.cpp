#include "base/kiv_byte_buffer.h"

#include <atomic>
#include <cstring>
#include <new>

#include "base/kiv_memory.h"

struct KivByteBuffer::Block {
    std::atomic<int32_t> references{1};
    uint8_t* data = nullptr;
    int32_t size = 0;
    uint8_t flags = 0;  // bit 0: borrowed
    KivString owner;    // keeps a lent string buffer alive

    static constexpr uint8_t kBorrowed = 1;

    static Block* Create() { return new (KivMemory::Allocate(sizeof(Block))) Block(); }
    void Destroy() noexcept {
        if (!(flags & kBorrowed)) KivMemory::Free(data);
        this->~Block();
        KivMemory::Free(this);
    }
};

KivByteBuffer::KivByteBuffer() noexcept : block_(nullptr) {}

KivByteBuffer::KivByteBuffer(int32_t size) : block_(nullptr) {
    if (size <= 0) return;
    block_ = Block::Create();
    block_->data = static_cast<uint8_t*>(KivMemory::Allocate(static_cast<size_t>(size)));
    std::memset(block_->data, 0, static_cast<size_t>(size));
    block_->size = size;
}

KivByteBuffer::KivByteBuffer(const KivByteBuffer& other) noexcept : block_(other.block_) {
    if (block_) block_->references.fetch_add(1, std::memory_order_relaxed);
}

KivByteBuffer::KivByteBuffer(KivByteBuffer&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }

KivByteBuffer::~KivByteBuffer() { Release(); }

KivByteBuffer& KivByteBuffer::operator=(const KivByteBuffer& other) noexcept {
    if (block_ != other.block_) {
        if (other.block_) other.block_->references.fetch_add(1, std::memory_order_relaxed);
        Release();
        block_ = other.block_;
    }
    return *this;
}

KivByteBuffer& KivByteBuffer::operator=(KivByteBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

void KivByteBuffer::Release() noexcept {
    if (block_ && block_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) block_->Destroy();
    block_ = nullptr;
}

KivByteBuffer KivByteBuffer::Copy(const void* data, int32_t size) {
    KivByteBuffer result(size);
    if (size > 0) std::memcpy(result.block_->data, data, static_cast<size_t>(size));
    return result;
}

KivByteBuffer KivByteBuffer::Borrow(void* data, int32_t size) {
    if (size <= 0) return KivByteBuffer();
    Block* block = Block::Create();
    block->data = static_cast<uint8_t*>(data);
    block->size = size;
    block->flags = Block::kBorrowed;
    return KivByteBuffer(block);
}

KivByteBuffer KivByteBuffer::Lend(const KivString& owner, void* data, int32_t size) {
    KivByteBuffer result = Borrow(data, size);
    if (result.block_) result.block_->owner = owner;
    return result;
}

const uint8_t* KivByteBuffer::Data() const noexcept { return block_ ? block_->data : nullptr; }
int32_t KivByteBuffer::Size() const noexcept { return block_ ? block_->size : 0; }
bool KivByteBuffer::IsShared() const noexcept {
    return block_ && block_->references.load(std::memory_order_acquire) > 1;
}
bool KivByteBuffer::IsBorrowed() const noexcept { return block_ && (block_->flags & Block::kBorrowed); }

uint8_t* KivByteBuffer::MutableData() {
    if (block_ && (IsShared() || IsBorrowed())) *this = Copy(block_->data, block_->size);
    return Data() ? block_->data : nullptr;
}

void KivByteBuffer::Resize(int32_t size) {
    if (size <= 0) {
        Release();
        return;
    }
    if (size == Size() && !IsShared() && !IsBorrowed()) return;
    if (!block_ || IsShared() || IsBorrowed()) {
        KivByteBuffer fresh(size);
        int32_t keep = Size() < size ? Size() : size;
        if (keep > 0) std::memcpy(fresh.block_->data, block_->data, static_cast<size_t>(keep));
        *this = std::move(fresh);
        return;
    }
    block_->data = static_cast<uint8_t*>(KivMemory::Reallocate(block_->data, static_cast<size_t>(size)));
    if (size > block_->size) std::memset(block_->data + block_->size, 0, static_cast<size_t>(size - block_->size));
    block_->size = size;
}

bool operator==(const KivByteBuffer& a, const KivByteBuffer& b) noexcept {
    return a.Size() == b.Size() && (a.Size() == 0 || std::memcmp(a.Data(), b.Data(), static_cast<size_t>(a.Size())) == 0);
}
