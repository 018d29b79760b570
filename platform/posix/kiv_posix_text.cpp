#include "platform/posix/kiv_posix_text.h"

#include <cstdint>

namespace KivPlatform::Posix {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
        return;
    }
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Number of continuation bytes announced by a lead byte, or -1 for an invalid lead.
int ContinuationCount(uint8_t lead) {
    if (lead < 0x80) return 0;
    if (lead >= 0xC2 && lead < 0xE0) return 1;
    if (lead >= 0xE0 && lead < 0xF0) return 2;
    if (lead >= 0xF0 && lead < 0xF5) return 3;
    return -1;
}

bool IsValidScalar(char32_t code, int continuations) {
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    return code >= kSmallest[continuations] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t index = 0;
    while (index < utf8.size()) {
        const auto lead = static_cast<uint8_t>(utf8[index++]);
        const int continuations = ContinuationCount(lead);
        if (continuations < 0) {
            out.push_back(kReplacement);
            continue;
        }
        char32_t code = continuations == 0 ? lead : (lead & (0x3F >> continuations));
        int taken = 0;
        while (taken < continuations && index < utf8.size() &&
               (static_cast<uint8_t>(utf8[index]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<uint8_t>(utf8[index++]) & 0x3F);
            ++taken;
        }
        AppendUtf16(out, taken == continuations && IsValidScalar(code, continuations) ? code : kReplacement);
    }
    return out;
}

std::string Utf8FromUtf16(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (size_t index = 0; index < utf16.size(); ++index) {
        char32_t code = utf16[index];
        if (code >= 0xD800 && code < 0xDC00 && index + 1 < utf16.size() && utf16[index + 1] >= 0xDC00 &&
            utf16[index + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++index] - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace KivPlatform::Posix
