#pragma once
#include <cstdint>

#include "base/stream/kiv_hash_stream.h"

// RIPEMD-160 (Dobbertin, Bosselaers, Preneel): a 20-byte digest.
class KivRIPEMDStream : public KivHashStream {
public:
    static constexpr int32_t kDigestSize = 20;

    KivRIPEMDStream() : KivHashStream(kDigestSize) { Initialize(); }
    void Initialize();

protected:
    void ProcessBlock(const uint8_t* block) override;
    void StoreDigest(uint8_t* digest) const override;

private:
    uint32_t state_[5] = {};
};
