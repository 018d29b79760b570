#pragma once
#include <cstdint>
#include <cstdio>

// The operating-system side of buffered C runtime files: wide file names, 64-bit positions,
// truncation and binary standard streams. Plain C++ types only, so that this layer needs
// nothing from the framework above it.
namespace KivFile {

// Opens the file named by the zero-terminated UTF-16 `name` with a C runtime `mode`
// ("rb", "r+b", "w+b"); null when it cannot be opened.
std::FILE* OpenWide(const char16_t* name, const char* mode);
// Origins are SEEK_SET, SEEK_CUR and SEEK_END; false on failure.
bool Seek(std::FILE* file, int64_t offset, int origin);
// The position, or -1 on failure.
int64_t Tell(std::FILE* file);
// Cuts the file at its current position; false on failure.
bool TruncateAtPosition(std::FILE* file);
// Stops the runtime from translating line ends on a standard stream (a no-op on POSIX).
void SetBinaryMode(std::FILE* file);

}  // namespace KivFile
