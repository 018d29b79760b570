#pragma once
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

#include "base/kiv_memory.h"

// An ordered, growable sequence that keeps its first `InlineCount` elements inside the
// object itself. Short lists (the attributes of one tag, the children of a small item)
// therefore cost no allocation at all; longer ones grow through the module's memory table
// in powers of two. Clearing keeps the storage, so a list reused by a parser settles at
// its largest size and then allocates nothing.
template <typename T, int32_t InlineCount>
class KivList {
    static_assert(InlineCount > 0, "a list keeps at least one element inline");
    static_assert(std::is_nothrow_move_constructible_v<T>, "elements are moved when the list grows");

public:
    KivList() noexcept = default;
    KivList(const KivList& other) : KivList() { AppendAll(other); }
    KivList(KivList&& other) noexcept : KivList() { TakeFrom(other); }
    ~KivList() {
        Clear();
        ReleaseStorage();
    }

    KivList& operator=(const KivList& other) {
        if (this != &other) {
            Clear();
            AppendAll(other);
        }
        return *this;
    }
    KivList& operator=(KivList&& other) noexcept {
        if (this != &other) {
            Clear();
            ReleaseStorage();
            TakeFrom(other);
        }
        return *this;
    }

    int32_t Count() const noexcept { return count_; }
    bool IsEmpty() const noexcept { return count_ == 0; }
    T& operator[](int32_t index) noexcept { return Elements()[index]; }
    const T& operator[](int32_t index) const noexcept { return Elements()[index]; }
    T& Last() noexcept { return Elements()[count_ - 1]; }
    T* begin() noexcept { return Elements(); }
    T* end() noexcept { return Elements() + count_; }
    const T* begin() const noexcept { return Elements(); }
    const T* end() const noexcept { return Elements() + count_; }

    void Reserve(int32_t count) {
        if (count > capacity_) Grow(count);
    }

    T& Add(T value) {
        Reserve(count_ + 1);
        T* slot = new (Elements() + count_) T(std::move(value));
        ++count_;
        return *slot;
    }

    T& Insert(int32_t index, T value) {
        Reserve(count_ + 1);
        T* elements = Elements();
        if (index >= count_) return Add(std::move(value));
        new (elements + count_) T(std::move(elements[count_ - 1]));
        for (int32_t i = count_ - 1; i > index; --i) elements[i] = std::move(elements[i - 1]);
        elements[index] = std::move(value);
        ++count_;
        return elements[index];
    }

    void RemoveAt(int32_t index) {
        T* elements = Elements();
        for (int32_t i = index; i + 1 < count_; ++i) elements[i] = std::move(elements[i + 1]);
        elements[--count_].~T();
    }

    // Destroys the elements but keeps the storage for reuse.
    void Clear() noexcept {
        T* elements = Elements();
        for (int32_t i = 0; i < count_; ++i) elements[i].~T();
        count_ = 0;
    }

private:
    T* Elements() noexcept { return heap_ ? heap_ : reinterpret_cast<T*>(inline_); }
    const T* Elements() const noexcept { return heap_ ? heap_ : reinterpret_cast<const T*>(inline_); }

    void Grow(int32_t count) {
        auto capacity = static_cast<int32_t>(KivMemory::NextPowerOfTwo(static_cast<size_t>(count)));
        T* fresh = static_cast<T*>(KivMemory::Allocate(static_cast<size_t>(capacity) * sizeof(T)));
        T* old = Elements();
        for (int32_t i = 0; i < count_; ++i) {
            new (fresh + i) T(std::move(old[i]));
            old[i].~T();
        }
        ReleaseStorage();
        heap_ = fresh;
        capacity_ = capacity;
    }

    void ReleaseStorage() noexcept {
        KivMemory::Free(heap_);
        heap_ = nullptr;
        capacity_ = InlineCount;
    }

    void AppendAll(const KivList& other) {
        Reserve(other.count_);
        for (const T& element : other) Add(element);
    }

    // Steals a heap block outright; inline elements have to be moved one by one.
    void TakeFrom(KivList& other) noexcept {
        if (other.heap_) {
            heap_ = other.heap_;
            capacity_ = other.capacity_;
            count_ = other.count_;
            other.heap_ = nullptr;
            other.capacity_ = InlineCount;
            other.count_ = 0;
            return;
        }
        T* source = other.Elements();
        for (int32_t i = 0; i < other.count_; ++i) new (Elements() + i) T(std::move(source[i]));
        count_ = other.count_;
        other.Clear();
    }

    alignas(T) unsigned char inline_[sizeof(T) * InlineCount];
    T* heap_ = nullptr;
    int32_t count_ = 0;
    int32_t capacity_ = InlineCount;
};
