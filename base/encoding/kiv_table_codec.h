#pragma once
#include <cstdint>

#include "base/encoding/kiv_code_page.h"
#include "base/encoding/kiv_encoding.h"

namespace KivEncoding {

// One byte per character through a published code page: bytes 0..127 are ASCII, 128..255
// go through the page's table. A character the page cannot represent is written as "?",
// the usual stand-in that keeps the text's length and stays readable in every code page.
class TableCodec final : public Codec {
public:
    static constexpr uint8_t kUnrepresentable = '?';

    TableCodec() = default;
    // Binds the codec to `page` and builds the reverse mapping for encoding.
    void Attach(const KivCodePage& page);

    KivString GetName() const override { return page_ ? page_->names[0] : ""; }
    KivString Decode(const KivByteBuffer& bytes) const override;
    KivByteBuffer Encode(const KivString& text, bool terminate) const override;
    bool ReadLine(TextReader& reader, KivString& line) const override;
    void WriteText(TextWriter& writer, const KivString& text) const override;

    // True when `name` is one of the names of the code page (folded comparison).
    bool AnswersTo(const KivString& name) const noexcept;
    char16_t DecodeByte(uint8_t byte) const noexcept;
    uint8_t EncodeCharacter(char16_t character) const noexcept;

private:
    struct ReverseEntry {
        char16_t character;
        uint8_t byte;
    };

    const KivCodePage* page_ = nullptr;
    ReverseEntry reverse_[128] = {};  // sorted by character
    int32_t reverseCount_ = 0;
};

}  // namespace KivEncoding
