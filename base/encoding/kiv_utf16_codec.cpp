#include "base/encoding/kiv_utf16_codec.h"

#include "base/kiv_exception.h"
#include "base/stream/kiv_stream.h"

namespace {

constexpr uint8_t kHeader[2] = {0xFF, 0xFE};

char16_t UnitAt(const uint8_t* bytes) noexcept { return static_cast<char16_t>(bytes[0] | (bytes[1] << 8)); }

void StoreUnit(char16_t unit, uint8_t* bytes) noexcept {
    bytes[0] = static_cast<uint8_t>(unit & 0xFF);
    bytes[1] = static_cast<uint8_t>(unit >> 8);
}

}  // namespace

namespace KivEncoding {

KivString UTF16Codec::Decode(const KivByteBuffer& bytes) const {
    KivString text;
    int32_t units = bytes.Size() / 2;
    for (int32_t i = 0; i < units; ++i) {
        char16_t unit = UnitAt(bytes.Data() + i * 2);
        if (unit == 0) break;
        text.Append(unit);
    }
    return text;
}

KivByteBuffer UTF16Codec::Encode(const KivString& text, bool terminate) const {
    KivByteBuffer bytes((text.Length() + (terminate ? 1 : 0)) * 2);
    uint8_t* data = bytes.MutableData();
    for (int32_t i = 0; i < text.Length(); ++i) StoreUnit(text[i], data + i * 2);
    return bytes;
}

void UTF16Codec::ReadHeader(KivStream& stream) const {
    uint8_t header[2] = {0, 0};
    int32_t count = stream.Read(header, 2);
    if (count != 2 || header[0] != kHeader[0] || header[1] != kHeader[1])
        throw KivException("The text is not marked as UTF-16.", KivException::kInputOutput);
}

void UTF16Codec::WriteHeader(KivStream& stream) const { stream.Write(kHeader, 2); }

bool UTF16Codec::ReadLine(TextReader& reader, KivString& line) const {
    line.Clear();
    uint8_t pair[2] = {0, 0};
    bool readAny = false;
    while (reader.ReadByte(pair[0])) {
        readAny = true;
        if (!reader.ReadByte(pair[1])) break;  // half a unit at the end carries nothing
        if (TakeLineCharacter(UnitAt(pair), line)) break;
    }
    return readAny;
}

void UTF16Codec::WriteText(TextWriter& writer, const KivString& text) const {
    uint8_t pair[2];
    for (int32_t i = 0; i < text.Length(); ++i) {
        StoreUnit(text[i], pair);
        writer.WriteBytes(pair, 2);
    }
}

}  // namespace KivEncoding
