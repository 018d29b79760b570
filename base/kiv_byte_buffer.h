#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// A shared, reference-counted block of bytes. Copies share the block; a holder that changes
// a block whose count exceeds 1 first replaces it by a private copy (copy on write).
// Borrowed data (flag bit 0) is never freed with the block.
class KivByteBuffer {
public:
    KivByteBuffer() noexcept;
    explicit KivByteBuffer(int32_t size);  // size bytes, zero-filled
    KivByteBuffer(const KivByteBuffer& other) noexcept;
    KivByteBuffer(KivByteBuffer&& other) noexcept;
    ~KivByteBuffer();
    KivByteBuffer& operator=(const KivByteBuffer& other) noexcept;
    KivByteBuffer& operator=(KivByteBuffer&& other) noexcept;

    // A private copy of `size` bytes.
    static KivByteBuffer Copy(const void* data, int32_t size);
    // Borrows `data`: the caller keeps it alive for as long as the buffer or a copy lives.
    static KivByteBuffer Borrow(void* data, int32_t size);
    // Borrows the units of a heap string and keeps the string's buffer alive meanwhile.
    static KivByteBuffer Lend(const KivString& owner, void* data, int32_t size);

    const uint8_t* Data() const noexcept;
    // Writable bytes; detaches a shared or borrowed block first.
    uint8_t* MutableData();
    int32_t Size() const noexcept;
    bool IsEmpty() const noexcept { return Size() == 0; }
    bool IsShared() const noexcept;
    bool IsBorrowed() const noexcept;
    // Changes the size, keeping the leading bytes; new bytes are zero. Detaches first.
    void Resize(int32_t size);

    friend bool operator==(const KivByteBuffer& a, const KivByteBuffer& b) noexcept;

private:
    struct Block;
    explicit KivByteBuffer(Block* block) noexcept : block_(block) {}
    void Release() noexcept;

    Block* block_;  // null for the empty buffer
};
