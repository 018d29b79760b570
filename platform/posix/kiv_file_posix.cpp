#include <sys/types.h>
#include <unistd.h>

#include <string>

#include "platform/kiv_file.h"

namespace {

void AppendUTF8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// POSIX file names are bytes; the desktop convention is UTF-8. A lone surrogate cannot be
// represented and becomes U+FFFD, so such a name simply fails to match any file.
std::string FileNameToUTF8(const char16_t* name) {
    std::string out;
    for (const char16_t* unit = name; *unit; ++unit) {
        char32_t code = *unit;
        if (IsHighSurrogate(unit[0]) && IsLowSurrogate(unit[1])) {
            code = 0x10000 + ((static_cast<char32_t>(unit[0]) - 0xD800) << 10) + (unit[1] - 0xDC00);
            ++unit;
        } else if (IsHighSurrogate(*unit) || IsLowSurrogate(*unit)) {
            code = 0xFFFD;
        }
        AppendUTF8(out, code);
    }
    return out;
}

}  // namespace

namespace KivFile {

std::FILE* OpenWide(const char16_t* name, const char* mode) {
    if (!name || !mode || !*mode) return nullptr;
    return std::fopen(FileNameToUTF8(name).c_str(), mode);
}

bool Seek(std::FILE* file, int64_t offset, int origin) {
    return fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

int64_t Tell(std::FILE* file) { return static_cast<int64_t>(ftello(file)); }

bool TruncateAtPosition(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
    off_t position = ftello(file);
    return position >= 0 && ftruncate(fileno(file), position) == 0;
}

void SetBinaryMode(std::FILE*) {}

}  // namespace KivFile
