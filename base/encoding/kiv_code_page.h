#pragma once
#include <cstdint>

// One published single-byte code page: the names it answers to and the characters of its
// bytes 128..255 (bytes 0..127 are ASCII). Bytes the code page leaves undefined hold
// U+FFFD. The tables are generated from glibc's iconv by tools/generate.
struct KivCodePage {
    static constexpr char16_t kUndefined = 0xFFFD;
    static constexpr int32_t kCount = 30;

    const char* const* names;        // terminated by a null pointer
    const char16_t* highCharacters;  // 128 entries

    // kCount code pages.
    static const KivCodePage* All() noexcept;
};
