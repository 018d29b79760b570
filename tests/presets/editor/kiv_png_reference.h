#pragma once
// Reference pictures of the editor windows: read back the 8-bit RGBA PNG files the toolkit's
// writer makes, and count the pixels two pictures disagree on.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/stream/kiv_memory_stream.h"
#include "base/stream/kiv_zlib_stream.h"
#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_png_writer.h"

namespace KivPngReference {

inline uint32_t BigEndian(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

inline uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

inline KivBitmap Read(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (bytes.size() < 33) return KivBitmap();
    const auto width = static_cast<int32_t>(BigEndian(&bytes[16]));
    const auto height = static_cast<int32_t>(BigEndian(&bytes[20]));
    KivMemoryStream compressed;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const uint32_t length = BigEndian(&bytes[at]);
        if (std::equal(bytes.begin() + static_cast<long>(at) + 4, bytes.begin() + static_cast<long>(at) + 8, "IDAT")) {
            compressed.Write(&bytes[at + 8], static_cast<int32_t>(length));
        }
        at += 12 + length;
    }
    compressed.Seek(0, KivStream::kFromStart);
    KivZLibStream inflater;
    inflater.Open(&compressed, false);
    const size_t stride = static_cast<size_t>(width) * 4;
    std::vector<uint8_t> previous(stride), row(stride);
    KivBitmap bitmap(width, height);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t filter = 0;
        inflater.Read(&filter, 1);
        inflater.Read(row.data(), static_cast<int32_t>(stride));
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= 4 ? row[i - 4] : 0, b = previous[i], c = i >= 4 ? previous[i - 4] : 0;
            const int add = filter == 1   ? a
                            : filter == 2 ? b
                            : filter == 3 ? (a + b) / 2
                            : filter == 4 ? Paeth(a, b, c)
                                          : 0;
            row[i] = static_cast<uint8_t>(row[i] + add);
        }
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = &row[static_cast<size_t>(x) * 4];
            bitmap.Set(x, y, KivColor::Rgb(p[0], p[1], p[2], p[3]));
        }
        previous.swap(row);
    }
    return bitmap;
}

// Pixels whose red, green or blue differ by more than 8: anti-aliasing may move a little,
// a misplaced shape may not. With KIV_UPDATE_REFERENCE set the reference is written first.
inline int64_t CountDiffering(const KivBitmap& picture, const std::filesystem::path& reference) {
    if (std::getenv("KIV_UPDATE_REFERENCE") != nullptr) KivPngWriter::Write(picture, reference.string());
    const KivBitmap expected = Read(reference);
    if (expected.Width() != picture.Width() || expected.Height() != picture.Height())
        return int64_t{picture.Width()} * picture.Height();
    int64_t differing = 0;
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const KivColor p = picture.At(x, y), q = expected.At(x, y);
            if (std::max({std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)}) > 8) ++differing;
        }
    }
    return differing;
}

// Writes `picture` as NAME.png into the folder KIV_PICTURES_DIR names, when it is set: a way
// to look at the windows the tests open.
inline void SaveIfAsked(const KivBitmap& picture, const char* name) {
    const char* folder = std::getenv("KIV_PICTURES_DIR");
    if (folder != nullptr) KivPngWriter::Write(picture, (std::filesystem::path(folder) / name).string() + ".png");
}

}  // namespace KivPngReference
