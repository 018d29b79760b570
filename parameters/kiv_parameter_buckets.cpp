#include "parameters/kiv_parameter_buckets.h"

#include "parameters/kiv_parameter_record_base.h"

void KivParameterBuckets::Add(ParameterRecordBase& parameter) {
    buckets_[parameter.GetRecordIndex() % kBucketCount].Add(&parameter);
}

ParameterRecordBase* KivParameterBuckets::Find(uint32_t recordIndex) const noexcept {
    for (ParameterRecordBase* parameter : buckets_[recordIndex % kBucketCount])
        if (parameter->GetRecordIndex() == recordIndex) return parameter;
    return nullptr;
}

void KivParameterBuckets::Clear() noexcept {
    for (auto& bucket : buckets_) bucket.Clear();
}
