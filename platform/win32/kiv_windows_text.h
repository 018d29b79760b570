#pragma once
#include <string>

// Windows wide characters are UTF-16 code units, as char16_t is.
namespace KivPlatform::Win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::u16string FromWide(const wchar_t* text, size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace KivPlatform::Win32
