#pragma once
#include <string>
#include <string_view>

// POSIX file names are UTF-8 bytes; the platform interface speaks UTF-16.
namespace KivPlatform::Posix {

// Malformed sequences become U+FFFD so that a strange file name still yields a usable path.
std::u16string Utf16FromUtf8(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view utf16);

}  // namespace KivPlatform::Posix
