#pragma once
#include <cstdint>

// The TrueType font every text of the toolkit is drawn with (DejaVu Sans), built into the
// library so that each platform draws the same glyphs.
namespace KivEmbeddedFont {
const unsigned char* Data() noexcept;
int32_t Size() noexcept;
}  // namespace KivEmbeddedFont
