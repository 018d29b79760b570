#include "base/kiv_string_list.h"

#include <new>
#include <utility>

#include "base/kiv_memory.h"

KivStringList::KivStringList(const KivStringList& other) {
    Reserve(other.count_);
    for (const KivString& text : other) Add(text);
}

KivStringList::KivStringList(KivStringList&& other) noexcept { MoveItemsFrom(other); }

KivStringList::~KivStringList() {
    Clear();
    KivMemory::Free(items_);
}

KivStringList& KivStringList::operator=(const KivStringList& other) {
    if (this != &other) {
        KivStringList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

KivStringList& KivStringList::operator=(KivStringList&& other) noexcept {
    if (this != &other) {
        Clear();
        KivMemory::Free(items_);
        MoveItemsFrom(other);
    }
    return *this;
}

void KivStringList::MoveItemsFrom(KivStringList& other) noexcept {
    items_ = other.items_;
    count_ = other.count_;
    capacity_ = other.capacity_;
    other.items_ = nullptr;
    other.count_ = 0;
    other.capacity_ = 0;
}

void KivStringList::Reserve(int32_t count) {
    if (count <= capacity_) return;
    auto capacity = static_cast<int32_t>(KivMemory::NextPowerOfTwo(static_cast<size_t>(count)));
    auto* fresh = static_cast<KivString*>(KivMemory::Allocate(static_cast<size_t>(capacity) * sizeof(KivString)));
    for (int32_t i = 0; i < count_; ++i) {
        new (fresh + i) KivString(std::move(items_[i]));
        items_[i].~KivString();
    }
    KivMemory::Free(items_);
    items_ = fresh;
    capacity_ = capacity;
}

int32_t KivStringList::Add(const KivString& text) {
    Reserve(count_ + 1);
    new (items_ + count_) KivString(text);
    return count_++;
}

void KivStringList::Insert(int32_t index, const KivString& text) {
    if (index < 0) index = 0;
    if (index >= count_) {
        Add(text);
        return;
    }
    KivString keep(text);  // `text` may be one of the items that move
    Reserve(count_ + 1);
    new (items_ + count_) KivString(std::move(items_[count_ - 1]));
    for (int32_t i = count_ - 1; i > index; --i) items_[i] = std::move(items_[i - 1]);
    items_[index] = std::move(keep);
    ++count_;
}

void KivStringList::Remove(int32_t index) {
    if (index < 0 || index >= count_) return;
    for (int32_t i = index; i + 1 < count_; ++i) items_[i] = std::move(items_[i + 1]);
    items_[--count_].~KivString();
}

void KivStringList::Clear() noexcept {
    for (int32_t i = 0; i < count_; ++i) items_[i].~KivString();
    count_ = 0;
}

int32_t KivStringList::IndexOf(const KivString& text) const noexcept {
    for (int32_t i = 0; i < count_; ++i)
        if (items_[i] == text) return i;
    return -1;
}

int32_t KivStringList::IndexOfFolded(const KivString& text) const noexcept {
    for (int32_t i = 0; i < count_; ++i)
        if (items_[i].EqualsFolded(text)) return i;
    return -1;
}
