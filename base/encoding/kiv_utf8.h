#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// The UTF-8 algorithms shared by the string conversions and the UTF-8 codec.
namespace KivUTF8 {

// Turns 16-bit units into UTF-8 bytes. Surrogate pairs combine into one code point; a low
// surrogate without a high one is dropped; a high surrogate followed by anything else is
// dropped together with that following unit.
class Encoder {
public:
    // Calls sink(byte) for every byte of `text`.
    template <typename Sink>
    static void Encode(const KivString& text, Sink&& sink) {
        int32_t length = text.Length();
        for (int32_t i = 0; i < length; ++i) {
            char32_t code = text[i];
            if (IsLowSurrogate(code)) continue;
            if (IsHighSurrogate(code)) {
                if (i + 1 >= length || !IsLowSurrogate(text[i + 1])) {
                    ++i;
                    continue;
                }
                code = Combine(code, text[++i]);
            }
            EncodeCodePoint(code, sink);
        }
    }

    static bool IsHighSurrogate(char32_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
    static bool IsLowSurrogate(char32_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }
    static char32_t Combine(char32_t high, char32_t low) noexcept {
        return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
    }

    template <typename Sink>
    static void EncodeCodePoint(char32_t code, Sink&& sink) {
        if (code < 0x80) {
            sink(static_cast<uint8_t>(code));
        } else if (code < 0x800) {
            sink(static_cast<uint8_t>(0xC0 | (code >> 6)));
            sink(ContinuationByte(code, 0));
        } else if (code < 0x10000) {
            sink(static_cast<uint8_t>(0xE0 | (code >> 12)));
            sink(ContinuationByte(code, 6));
            sink(ContinuationByte(code, 0));
        } else {
            sink(static_cast<uint8_t>(0xF0 | (code >> 18)));
            sink(ContinuationByte(code, 12));
            sink(ContinuationByte(code, 6));
            sink(ContinuationByte(code, 0));
        }
    }

private:
    static uint8_t ContinuationByte(char32_t code, int shift) noexcept {
        return static_cast<uint8_t>(0x80 | ((code >> shift) & 0x3F));
    }
};

// Turns UTF-8 bytes into 16-bit units, one byte at a time, so that line readers can feed
// it straight from their buffer. Malformed input never fails: a broken sequence yields the
// character 1 and stray bytes are ignored.
class Decoder {
public:
    enum Result : uint8_t {
        kNothing,     // the byte was consumed without completing a character
        kCharacter,   // one unit is ready in First()
        kPair,        // two units (a surrogate pair) are ready in First() and Second()
        kEndOfText    // a 0 byte outside a sequence
    };

    Result Feed(uint8_t byte) noexcept;
    char16_t First() const noexcept { return first_; }
    char16_t Second() const noexcept { return second_; }

    // Decodes `size` bytes up to the first 0 byte outside a sequence.
    static KivString Decode(const uint8_t* bytes, int32_t size);
    // Appends the units of the last Feed result to `text`.
    void AppendTo(Result result, KivString& text) const;

private:
    Result Finish() noexcept;

    char32_t code_ = 0;
    int32_t pending_ = 0;  // continuation bytes still expected
    char16_t first_ = 0;
    char16_t second_ = 0;
};

}  // namespace KivUTF8
