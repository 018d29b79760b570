#pragma once
// Pictures compared with committed PNG files: a reader for the files the framework's PNG
// writer makes, and the count of pixels that differ by more than anti-aliasing would.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/stream/kiv_memory_stream.h"
#include "base/stream/kiv_zlib_stream.h"
#include "gui/drawing/kiv_bitmap.h"

namespace KivPictureComparison {

inline uint32_t BigEndian(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

inline uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Reads the 8-bit RGBA, non-interlaced PNG files the writer makes; an empty bitmap when the
// file is missing or too short.
inline KivBitmap ReadPng(const std::filesystem::path& path) {
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
            const int add = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : filter == 4 ? Paeth(a, b, c) : 0;
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

// The number of pixels within `area` of two pictures whose colour channels differ by more
// than `tolerance` in any one channel (both pictures must cover `area`).
inline int64_t CountDifferingIn(const KivBitmap& picture, const KivBitmap& expected, const KivRect& area, int tolerance) {
    int64_t differing = 0;
    for (int32_t y = area.top; y <= area.bottom; ++y) {
        for (int32_t x = area.left; x <= area.right; ++x) {
            const KivColor p = picture.At(x, y), q = expected.At(x, y);
            if (std::max({std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)}) > tolerance) ++differing;
        }
    }
    return differing;
}

// The same over two whole pictures of the same size.
inline int64_t CountDiffering(const KivBitmap& picture, const KivBitmap& expected, int tolerance) {
    return CountDifferingIn(picture, expected, picture.Bounds(), tolerance);
}

}  // namespace KivPictureComparison
