#pragma once
#include <cstddef>
#include <cstdint>

#include "gui/drawing/kiv_bitmap.h"

// Truevision TGA images as the built-in resources and style files carry them: uncompressed
// true colour (image type 2) of 32 bits (blue, green, red, alpha) or 24 bits (opaque), rows
// stored bottom-up unless the descriptor's top-down bit (0x20) is set. Anything else, or
// data shorter than the header promises, raises "Unsupported or malformed TGA image." with
// code 256.
namespace KivTgaReader {
KivBitmap Read(const uint8_t* data, size_t size);
}  // namespace KivTgaReader
