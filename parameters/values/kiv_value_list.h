#pragma once
#include <cstdint>

#include "base/kiv_string_list.h"
#include "parameters/values/kiv_value_items.h"

// The item texts of a list value come either from an array of 8-bit literals (with a count)
// or from a string list, which may change while the value lives.
inline int32_t KivItemCount(const char* const*, int32_t count) noexcept { return count; }
inline KivString KivItemText(const char* const* items, int32_t index) { return items[index]; }
inline int32_t KivItemCount(const KivStringList& items, int32_t) noexcept { return items.Count(); }
inline KivString KivItemText(const KivStringList& items, int32_t index) { return items[index]; }

// An item index of type Index bound to a list of texts. List is `const char* const*` for an
// array of literals or `const KivStringList&`; Text names the item type for the toolkit.
template <typename Text, typename List, typename Index>
class KivValueList : public KivValueItems {
public:
    KivValueList(Index& variable, List items, int32_t count = 0)
        : variable_(variable), items_(items), count_(count) {}

    int32_t GetItemCount() const override { return KivItemCount(items_, count_); }
    KivString GetItemText(int32_t index) const override { return KivItemText(items_, index); }
    int32_t GetIndex() const override { return static_cast<int32_t>(variable_); }

protected:
    void StoreIndex(int32_t index) override { variable_ = static_cast<Index>(index); }

private:
    Index& variable_;
    List items_;
    int32_t count_;
};

using KivValueTextList = KivValueList<const char*, const char* const*, int>;
using KivValueStringList = KivValueList<KivString, const KivStringList&, int>;
