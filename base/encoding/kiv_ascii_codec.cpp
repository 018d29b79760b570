#include "base/encoding/kiv_ascii_codec.h"

namespace {

char16_t Widen(uint8_t byte) noexcept { return static_cast<char16_t>(static_cast<int16_t>(static_cast<int8_t>(byte))); }

}  // namespace

namespace KivEncoding {

KivString ASCIICodec::Decode(const KivByteBuffer& bytes) const {
    KivString text;
    const uint8_t* data = bytes.Data();
    int32_t count = 0;
    while (count < bytes.Size() && data[count] != 0) ++count;
    text.Reserve(count);
    for (int32_t i = 0; i < count; ++i) text.Append(Widen(data[i]));
    return text;
}

KivByteBuffer ASCIICodec::Encode(const KivString& text, bool terminate) const {
    KivByteBuffer bytes(text.Length() + (terminate ? 1 : 0));
    uint8_t* data = bytes.MutableData();
    for (int32_t i = 0; i < text.Length(); ++i) data[i] = static_cast<uint8_t>(text[i] & 0xFF);
    return bytes;  // the terminator is already 0
}

bool ASCIICodec::ReadLine(TextReader& reader, KivString& line) const {
    line.Clear();
    uint8_t byte = 0;
    bool readAny = false;
    while (reader.ReadByte(byte)) {
        readAny = true;
        if (TakeLineCharacter(Widen(byte), line)) break;
    }
    return readAny;
}

void ASCIICodec::WriteText(TextWriter& writer, const KivString& text) const {
    for (int32_t i = 0; i < text.Length(); ++i) writer.WriteByte(static_cast<uint8_t>(text[i] & 0xFF));
}

}  // namespace KivEncoding
