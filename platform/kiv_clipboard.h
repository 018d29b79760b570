#pragma once
#include <cstdint>
#include <vector>

// The system clipboard, holding bytes under registered format names. Plain C++ types only,
// so that this layer needs nothing from the framework above it.
//
// Windows uses registered clipboard formats; X11 the CLIPBOARD selection with one target
// per format, named like it. Without a display the data stays inside the process, under the
// same names.
namespace KivClipboard {

enum class Result : int32_t {
    kDone = 0,
    kNoData = 1,        // no data of that format
    kAccessError = 2,   // the data could not be read or written
    kOpenError = 3,     // the clipboard could not be opened
    kMemoryError = 4    // no memory for the data
};

// Replaces the clipboard's whole contents by `size` bytes under the format named `format`
// (zero-terminated UTF-16).
Result Put(const char16_t* format, const uint8_t* data, int32_t size);
// The bytes held under `format`, up to the first zero byte (trailing padding some systems add
// is not data).
Result Get(const char16_t* format, std::vector<uint8_t>& data);

}  // namespace KivClipboard
