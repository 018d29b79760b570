#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// An ordered sequence of texts indexed from 0: the items of an enumerated value, the names
// of a folder, the lines of a file. Storage grows through the module's memory table in
// powers of two and is kept when the list is cleared.
class KivStringList {
public:
    KivStringList() noexcept = default;
    KivStringList(const KivStringList& other);
    KivStringList(KivStringList&& other) noexcept;
    ~KivStringList();
    KivStringList& operator=(const KivStringList& other);
    KivStringList& operator=(KivStringList&& other) noexcept;

    int32_t Count() const noexcept { return count_; }
    bool IsEmpty() const noexcept { return count_ == 0; }
    const KivString& operator[](int32_t index) const noexcept { return items_[index]; }
    KivString& operator[](int32_t index) noexcept { return items_[index]; }
    const KivString* begin() const noexcept { return items_; }
    const KivString* end() const noexcept { return items_ + count_; }

    // Returns the index of the new item.
    int32_t Add(const KivString& text);
    // Inserts before `index` (appends when index >= Count()).
    void Insert(int32_t index, const KivString& text);
    void Remove(int32_t index);
    void Clear() noexcept;
    void Reserve(int32_t count);

    // Index of the first item equal to `text`, or -1.
    int32_t IndexOf(const KivString& text) const noexcept;
    // The same ignoring case and accents, as names are matched.
    int32_t IndexOfFolded(const KivString& text) const noexcept;

private:
    void MoveItemsFrom(KivStringList& other) noexcept;

    KivString* items_ = nullptr;
    int32_t count_ = 0;
    int32_t capacity_ = 0;
};
