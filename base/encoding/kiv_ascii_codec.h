#pragma once
#include "base/encoding/kiv_encoding.h"

namespace KivEncoding {

// One byte per character: decoding widens each byte with its sign, as literals are read;
// encoding keeps the low 8 bits of each character.
class ASCIICodec final : public Codec {
public:
    KivString GetName() const override { return "ascii"; }
    KivString Decode(const KivByteBuffer& bytes) const override;
    KivByteBuffer Encode(const KivString& text, bool terminate) const override;
    bool ReadLine(TextReader& reader, KivString& line) const override;
    void WriteText(TextWriter& writer, const KivString& text) const override;
};

}  // namespace KivEncoding
