#pragma once
#include <cstdint>

#include "base/kiv_list.h"

class ParameterRecordBase;

// The effect adapter's quick way from a record index to its parameter object: eight buckets
// chosen by the record index modulo 8, each searched in order.
class KivParameterBuckets {
public:
    static constexpr int32_t kBucketCount = 8;

    void Add(ParameterRecordBase& parameter);
    ParameterRecordBase* Find(uint32_t recordIndex) const noexcept;
    void Clear() noexcept;

private:
    KivList<ParameterRecordBase*, 8> buckets_[kBucketCount];
};
