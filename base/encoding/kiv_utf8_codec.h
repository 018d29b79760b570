#pragma once
#include "base/encoding/kiv_encoding.h"

namespace KivEncoding {

// UTF-8 without a header; a byte order mark in the data is dropped while decoding.
class UTF8Codec final : public Codec {
public:
    KivString GetName() const override { return "utf8"; }
    KivString Decode(const KivByteBuffer& bytes) const override;
    KivByteBuffer Encode(const KivString& text, bool terminate) const override;
    bool ReadLine(TextReader& reader, KivString& line) const override;
    void WriteText(TextWriter& writer, const KivString& text) const override;
};

}  // namespace KivEncoding
