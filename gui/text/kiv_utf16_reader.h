#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// Walks the code points of a text of 16-bit units: a surrogate pair gives one code point
// above U+FFFF, a lone surrogate stands for itself (and draws as the missing-glyph box).
class KivUtf16Reader {
public:
    explicit KivUtf16Reader(const KivString& text) noexcept : text_(text) {}

    bool AtEnd() const noexcept { return position_ >= text_.Length(); }
    char32_t Next() noexcept {
        const char16_t unit = text_[position_++];
        if (unit >= 0xD800 && unit < 0xDC00 && position_ < text_.Length()) {
            const char16_t low = text_[position_];
            if (low >= 0xDC00 && low < 0xE000) {
                ++position_;
                return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        return unit;
    }

private:
    const KivString& text_;
    int32_t position_ = 0;
};
