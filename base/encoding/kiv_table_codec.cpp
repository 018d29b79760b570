#include "base/encoding/kiv_table_codec.h"

#include <algorithm>

namespace KivEncoding {

void TableCodec::Attach(const KivCodePage& page) {
    page_ = &page;
    reverseCount_ = 0;
    for (int32_t i = 0; i < 128; ++i) {
        char16_t character = page.highCharacters[i];
        if (character != KivCodePage::kUndefined)
            reverse_[reverseCount_++] = ReverseEntry{character, static_cast<uint8_t>(128 + i)};
    }
    // Stable, so that a character listed twice encodes to its first byte.
    std::stable_sort(reverse_, reverse_ + reverseCount_,
                     [](const ReverseEntry& a, const ReverseEntry& b) { return a.character < b.character; });
}

bool TableCodec::AnswersTo(const KivString& name) const noexcept {
    for (const char* const* candidate = page_->names; *candidate; ++candidate)
        if (name.CompareFolded(KivString(*candidate)) == 0) return true;
    return false;
}

char16_t TableCodec::DecodeByte(uint8_t byte) const noexcept {
    return byte < 128 ? char16_t{byte} : page_->highCharacters[byte - 128];
}

uint8_t TableCodec::EncodeCharacter(char16_t character) const noexcept {
    if (character < 128) return static_cast<uint8_t>(character);
    const ReverseEntry* end = reverse_ + reverseCount_;
    const ReverseEntry* found = std::lower_bound(
        reverse_, end, character, [](const ReverseEntry& entry, char16_t key) { return entry.character < key; });
    return found != end && found->character == character ? found->byte : kUnrepresentable;
}

KivString TableCodec::Decode(const KivByteBuffer& bytes) const {
    KivString text;
    for (int32_t i = 0; i < bytes.Size() && bytes.Data()[i] != 0; ++i) text.Append(DecodeByte(bytes.Data()[i]));
    return text;
}

KivByteBuffer TableCodec::Encode(const KivString& text, bool terminate) const {
    KivByteBuffer bytes(text.Length() + (terminate ? 1 : 0));
    uint8_t* data = bytes.MutableData();
    for (int32_t i = 0; i < text.Length(); ++i) data[i] = EncodeCharacter(text[i]);
    return bytes;
}

bool TableCodec::ReadLine(TextReader& reader, KivString& line) const {
    line.Clear();
    uint8_t byte = 0;
    bool readAny = false;
    while (reader.ReadByte(byte)) {
        readAny = true;
        if (TakeLineCharacter(DecodeByte(byte), line)) break;
    }
    return readAny;
}

void TableCodec::WriteText(TextWriter& writer, const KivString& text) const {
    for (int32_t i = 0; i < text.Length(); ++i) writer.WriteByte(EncodeCharacter(text[i]));
}

}  // namespace KivEncoding
