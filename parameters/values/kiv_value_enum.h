#pragma once
#include <cstdint>

#include "parameters/values/kiv_value_items.h"

// An enumeration variable whose items are shown by the texts given for its enumerators, in
// enumerator order starting at 0.
template <typename E>
class KivValueEnum : public KivValueItems {
public:
    KivValueEnum(E& variable, const char* const* itemTexts, int32_t itemCount)
        : variable_(variable), itemTexts_(itemTexts), itemCount_(itemCount) {}

    int32_t GetItemCount() const override { return itemCount_; }
    KivString GetItemText(int32_t index) const override { return itemTexts_[index]; }
    int32_t GetIndex() const override { return static_cast<int32_t>(variable_); }

protected:
    void StoreIndex(int32_t index) override { variable_ = static_cast<E>(index); }

private:
    E& variable_;
    const char* const* itemTexts_;
    int32_t itemCount_;
};
