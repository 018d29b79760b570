#include <fcntl.h>
#include <io.h>

#include <string>

#include "platform/kiv_file.h"

namespace KivFile {

std::FILE* OpenWide(const char16_t* name, const char* mode) {
    if (!name || !mode || !*mode) return nullptr;
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(reinterpret_cast<const wchar_t*>(name), wideMode.c_str());
}

bool Seek(std::FILE* file, int64_t offset, int origin) { return _fseeki64(file, offset, origin) == 0; }

int64_t Tell(std::FILE* file) { return _ftelli64(file); }

bool TruncateAtPosition(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
    int64_t position = _ftelli64(file);
    return position >= 0 && _chsize_s(_fileno(file), position) == 0;
}

void SetBinaryMode(std::FILE* file) { _setmode(_fileno(file), _O_BINARY); }

}  // namespace KivFile
