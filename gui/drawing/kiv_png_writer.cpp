#include "gui/drawing/kiv_png_writer.h"

#include <cstdio>

#include "base/kiv_exception.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include "stb_image_write.h"
#pragma GCC diagnostic pop

namespace {
void Collect(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    const auto* begin = static_cast<const uint8_t*>(data);
    bytes->insert(bytes->end(), begin, begin + size);
}
}  // namespace

namespace KivPngWriter {

std::vector<uint8_t> Encode(const KivBitmap& bitmap) {
    std::vector<uint8_t> rgba(static_cast<size_t>(bitmap.Width()) * bitmap.Height() * 4);
    uint8_t* out = rgba.data();
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        for (int32_t x = 0; x < bitmap.Width(); ++x) {
            const KivColor c = bitmap.At(x, y);
            *out++ = c.r;
            *out++ = c.g;
            *out++ = c.b;
            *out++ = c.a;
        }
    }
    std::vector<uint8_t> file;
    if (bitmap.IsEmpty() ||
        !stbi_write_png_to_func(Collect, &file, bitmap.Width(), bitmap.Height(), 4, rgba.data(), bitmap.Width() * 4)) {
        throw KivException("Could not encode the image.", KivException::kInputOutput);
    }
    return file;
}

void Write(const KivBitmap& bitmap, const std::string& utf8Path) {
    const std::vector<uint8_t> file = Encode(bitmap);
    std::FILE* stream = std::fopen(utf8Path.c_str(), "wb");
    const bool written = stream != nullptr && std::fwrite(file.data(), 1, file.size(), stream) == file.size();
    if (stream != nullptr && std::fclose(stream) != 0) {
        KivException::Raise(KivException::kCannotOpen, "Could not write {0}.", KivString::FromUTF8(utf8Path));
    }
    if (!written) KivException::Raise(KivException::kCannotOpen, "Could not write {0}.", KivString::FromUTF8(utf8Path));
}

}  // namespace KivPngWriter
