#pragma once
#include <string>
#include <string_view>

#include "hosts/vst3/interfaces/vst3_types.h"

// The two kinds of text in the interface: 8-bit fields of fixed size and 16-bit ones,
// always left terminated, cut when too long.
namespace Steinberg::Text {

// Copies `text` into `destination` of `capacity` bytes.
void CopyAscii(char8* destination, std::string_view text, int32 capacity) noexcept;
// Copies `text` into `destination` of `capacity` units.
void CopyUnits(char16* destination, std::u16string_view text, int32 capacity) noexcept;
inline void CopyToString128(String128 destination, std::u16string_view text) noexcept {
    CopyUnits(destination, text, 128);
}
// 8-bit text widened unit by unit (the interface's 8-bit fields hold ASCII).
std::u16string Widen(std::string_view text);
// The units of a zero-terminated 16-bit text; empty for null.
std::u16string_view View(const char16* text) noexcept;

}  // namespace Steinberg::Text
