#pragma once
#include "base/encoding/kiv_encoding.h"

namespace KivEncoding {

// UTF-16 little-endian, announced by the header bytes 0xFF, 0xFE.
class UTF16Codec final : public Codec {
public:
    KivString GetName() const override { return "utf16"; }
    KivString Decode(const KivByteBuffer& bytes) const override;
    KivByteBuffer Encode(const KivString& text, bool terminate) const override;
    // Raises code 256 "The text is not marked as UTF-16." unless the stream starts 0xFF, 0xFE.
    void ReadHeader(KivStream& stream) const override;
    void WriteHeader(KivStream& stream) const override;
    bool ReadLine(TextReader& reader, KivString& line) const override;
    void WriteText(TextWriter& writer, const KivString& text) const override;
};

}  // namespace KivEncoding
