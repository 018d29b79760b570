#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gui/drawing/kiv_bitmap.h"

// PNG files of bitmaps, for tests and the picture tool: red, green, blue, alpha with
// straight alpha, as the bitmap holds them.
namespace KivPngWriter {
// The PNG file's bytes.
std::vector<uint8_t> Encode(const KivBitmap& bitmap);
// Writes the file; raises "Could not write {0}." with code 257 when it cannot.
void Write(const KivBitmap& bitmap, const std::string& utf8Path);
}  // namespace KivPngWriter
