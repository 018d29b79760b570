#include "gui/drawing/kiv_tga_reader.h"

#include "base/kiv_exception.h"

namespace {

constexpr size_t kHeaderLength = 18;
constexpr uint8_t kUncompressedTrueColour = 2;
constexpr uint8_t kTopDown = 0x20;
constexpr uint8_t kRightToLeft = 0x10;

[[noreturn]] void Malformed() { throw KivException("Unsupported or malformed TGA image.", KivException::kInputOutput); }

uint16_t Word(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

}  // namespace

namespace KivTgaReader {

KivBitmap Read(const uint8_t* data, size_t size) {
    if (data == nullptr || size < kHeaderLength) Malformed();
    const size_t idLength = data[0];
    const uint8_t colourMapType = data[1], imageType = data[2];
    const int32_t width = Word(data + 12), height = Word(data + 14);
    const uint8_t bits = data[16], descriptor = data[17];
    if (colourMapType != 0 || imageType != kUncompressedTrueColour || (bits != 32 && bits != 24) ||
        (descriptor & kRightToLeft) != 0) {
        Malformed();
    }
    const size_t bytesPerPixel = bits / 8u;
    const size_t start = kHeaderLength + idLength;
    if (size < start || (size - start) / bytesPerPixel / (width > 0 ? width : 1) < static_cast<size_t>(height)) {
        Malformed();
    }
    KivBitmap bitmap(width, height);
    const uint8_t* pixel = data + start;
    for (int32_t row = 0; row < height; ++row) {
        const int32_t y = (descriptor & kTopDown) ? row : height - 1 - row;
        for (int32_t x = 0; x < width; ++x, pixel += bytesPerPixel) {
            bitmap.Set(x, y, KivColor{pixel[0], pixel[1], pixel[2], bits == 32 ? pixel[3] : uint8_t{255}});
        }
    }
    return bitmap;
}

}  // namespace KivTgaReader
