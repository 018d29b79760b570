#pragma once
#include <string>

#include "hosts/vst3/interfaces/vst3_types.h"

namespace Steinberg {

// A 16-byte class identifier written as four 32-bit words, laid out in memory as the
// platform's interface identifiers are.
class FUID {
public:
    constexpr FUID(uint32 word1, uint32 word2, uint32 word3, uint32 word4) noexcept
        : words_{word1, word2, word3, word4}, id_(MakeInterfaceId(word1, word2, word3, word4)) {}

    const char* Bytes() const noexcept { return id_.bytes; }
    bool Matches(const char* bytes) const noexcept { return id_.Matches(bytes); }
    void CopyTo(TUID destination) const noexcept { std::memcpy(destination, id_.bytes, sizeof(TUID)); }
    // The four words as 32 upper-case hexadecimal digits, the form module descriptions use.
    std::string ToString() const;

private:
    uint32 words_[4];
    InterfaceId id_;
};

}  // namespace Steinberg
