#include "base/encoding/kiv_utf8_codec.h"

#include "base/encoding/kiv_utf8.h"

namespace {

// No 16-bit unit takes more than three bytes; a surrogate pair takes four for two units.
constexpr int32_t kMaximumBytesPerUnit = 3;

}  // namespace

namespace KivEncoding {

KivString UTF8Codec::Decode(const KivByteBuffer& bytes) const {
    return KivUTF8::Decoder::Decode(bytes.Data(), bytes.Size());
}

KivByteBuffer UTF8Codec::Encode(const KivString& text, bool terminate) const {
    KivByteBuffer bytes(text.Length() * kMaximumBytesPerUnit + 1);
    uint8_t* data = bytes.MutableData();
    int32_t count = 0;
    KivUTF8::Encoder::Encode(text, [data, &count](uint8_t byte) { data[count++] = byte; });
    bytes.Resize(count + (terminate ? 1 : 0));
    return bytes;
}

bool UTF8Codec::ReadLine(TextReader& reader, KivString& line) const {
    line.SetLength(0);  // keeps a private buffer for the next line: documents are read line by line
    KivUTF8::Decoder decoder;
    uint8_t byte = 0;
    bool readAny = false;
    while (reader.ReadByte(byte)) {
        readAny = true;
        KivUTF8::Decoder::Result result = decoder.Feed(byte);
        if (result == KivUTF8::Decoder::kCharacter) {
            if (TakeLineCharacter(decoder.First(), line)) break;
        } else {
            decoder.AppendTo(result, line);  // a pair never holds a line feed; 0 bytes vanish
        }
    }
    return readAny;
}

void UTF8Codec::WriteText(TextWriter& writer, const KivString& text) const {
    KivUTF8::Encoder::Encode(text, [&writer](uint8_t byte) { writer.WriteByte(byte); });
}

}  // namespace KivEncoding
