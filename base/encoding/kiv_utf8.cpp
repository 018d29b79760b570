#include "base/encoding/kiv_utf8.h"

namespace {

constexpr char32_t kByteOrderMark = 0xFEFF;
constexpr char32_t kBrokenSequence = 1;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

namespace KivUTF8 {

Decoder::Result Decoder::Feed(uint8_t byte) noexcept {
    if (pending_ > 0) {
        if ((byte & 0xC0) != 0x80) {
            pending_ = 0;
            first_ = static_cast<char16_t>(kBrokenSequence);
            return kCharacter;
        }
        code_ = (code_ << 6) | (byte & 0x3F);
        return --pending_ == 0 ? Finish() : kNothing;
    }
    if (byte == 0) return kEndOfText;
    if (byte < 0x80) {
        first_ = byte;
        return kCharacter;
    }
    if ((byte & 0xE0) == 0xC0) {
        code_ = byte & 0x1F;
        pending_ = 1;
    } else if ((byte & 0xF0) == 0xE0) {
        code_ = byte & 0x0F;
        pending_ = 2;
    } else if ((byte & 0xF8) == 0xF0) {
        code_ = byte & 0x07;
        pending_ = 3;
    }
    return kNothing;
}

Decoder::Result Decoder::Finish() noexcept {
    if (code_ == kByteOrderMark) return kNothing;
    // Four-byte forms reach up to 0x1FFFFF, which no surrogate pair can carry.
    if (code_ > kLastCodePoint) code_ = kReplacement;
    if (code_ < 0x10000) {
        first_ = static_cast<char16_t>(code_);
        return kCharacter;
    }
    char32_t offset = code_ - 0x10000;
    first_ = static_cast<char16_t>(0xD800 + (offset >> 10));
    second_ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    return kPair;
}

void Decoder::AppendTo(Result result, KivString& text) const {
    if (result == kCharacter || result == kPair) text.Append(first_);
    if (result == kPair) text.Append(second_);
}

KivString Decoder::Decode(const uint8_t* bytes, int32_t size) {
    // No byte yields more than one unit (a pair takes four bytes), so the units are written
    // straight into a buffer of `size` units instead of being appended one by one.
    KivString text;
    if (size <= 0) return text;
    text.SetLength(size);
    char16_t* units = text.MutableUnits();
    int32_t count = 0;
    Decoder decoder;
    for (int32_t i = 0; i < size; ++i) {
        Result result = decoder.Feed(bytes[i]);
        if (result == kEndOfText) break;
        if (result == kCharacter || result == kPair) units[count++] = decoder.first_;
        if (result == kPair) units[count++] = decoder.second_;
    }
    text.SetLength(count);
    return text;
}

}  // namespace KivUTF8
