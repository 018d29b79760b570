#include "hosts/vst3/sdk/vst3_text.h"

#include <algorithm>

namespace Steinberg::Text {

void CopyAscii(char8* destination, std::string_view text, int32 capacity) noexcept {
    if (!destination || capacity <= 0) return;
    const size_t count = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::copy_n(text.data(), count, destination);
    std::fill(destination + count, destination + capacity, '\0');
}

void CopyUnits(char16* destination, std::u16string_view text, int32 capacity) noexcept {
    if (!destination || capacity <= 0) return;
    const size_t count = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::copy_n(text.data(), count, destination);
    std::fill(destination + count, destination + capacity, u'\0');
}

std::u16string Widen(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text) wide.push_back(static_cast<char16>(static_cast<unsigned char>(c)));
    return wide;
}

std::u16string_view View(const char16* text) noexcept {
    if (!text) return {};
    size_t length = 0;
    while (text[length] != 0) ++length;
    return {text, length};
}

}  // namespace Steinberg::Text
