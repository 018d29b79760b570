#pragma once
#include <cstdint>

#include "base/stream/kiv_hash_stream.h"

// MD5 (RFC 1321) whose initial state can be shifted by a seed, giving a family of keyed
// digests; seed 0 is the standard MD5.
class KivMD5Stream : public KivHashStream {
public:
    static constexpr int32_t kDigestSize = 16;

    explicit KivMD5Stream(uint32_t seed = 0) : KivHashStream(kDigestSize) { Initialize(seed); }
    void Initialize(uint32_t seed = 0);

protected:
    void ProcessBlock(const uint8_t* block) override;
    void StoreDigest(uint8_t* digest) const override;

private:
    uint32_t state_[4] = {};
    uint32_t seed_ = 0;
};
