// The bundled example description painted offscreen, compared with its committed picture:
// the house style and the standard controls' painting, all at once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/stream/kiv_memory_stream.h"
#include "base/stream/kiv_std_file_stream.h"
#include "base/stream/kiv_zlib_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_window_picture.h"
#include "gui/drawing/kiv_png_writer.h"

namespace {

const std::filesystem::path kSource = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path();

uint32_t BigEndian(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Reads the 8-bit RGBA, non-interlaced PNG files the writer makes.
KivBitmap ReadPng(const std::filesystem::path& path) {
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

KivBitmap RenderExample(const char* name = "controls") {
    KivStdFileStream file(KivString::FromUTF8((kSource / "tools/kivtool/examples" / (std::string(name) + ".xml")).string()),
                          KivStdFileStream::kRead);
    KivXMLItem root;
    root.Load(file);
    return KivWindowPicture::Render(root);
}

void ExpectLooksLikeReference(const char* name) {
    const KivBitmap picture = RenderExample(name);
    const std::filesystem::path reference = kSource / "tests/gui/reference" / (std::string(name) + ".png");
    if (std::getenv("KIV_UPDATE_REFERENCE") != nullptr) KivPngWriter::Write(picture, reference.string());
    const KivBitmap expected = ReadPng(reference);
    ASSERT_EQ(picture.Width(), expected.Width());
    ASSERT_EQ(picture.Height(), expected.Height());
    // Small differences of anti-aliasing are tolerated, a misplaced or missing control is not.
    int64_t differing = 0;
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const KivColor p = picture.At(x, y), q = expected.At(x, y);
            const int d = std::max({std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
            if (d > 8) ++differing;
        }
    }
    EXPECT_LT(differing, picture.Width() * picture.Height() / 1000) << "pixels differing by more than 8";
}

TEST(KivControlsPictureTest, ExampleDescriptionLooksLikeItsReferencePicture) { ExpectLooksLikeReference("controls"); }

// Tabs, a tree and a list beside each other in a splitter, scroll bars of both directions.
TEST(KivControlsPictureTest, LibraryDescriptionLooksLikeItsReferencePicture) { ExpectLooksLikeReference("library"); }

// A question with three buttons.
TEST(KivControlsPictureTest, MessageWindowLooksLikeItsReferencePicture) { ExpectLooksLikeReference("question"); }

// A graph editor with decibel axes, a curve with bent segments and the diagonal.
TEST(KivControlsPictureTest, ShapeDescriptionLooksLikeItsReferencePicture) { ExpectLooksLikeReference("shape"); }

// The references come from the Linux build; the Windows build paints exactly the same pixels
// (doubles in SSE2 registers on both, no fused multiply-add, the same font rasteriser), so
// here no tolerance applies.
TEST(KivControlsPictureTest, EveryBuildPaintsExactlyTheReferencePixels) {
    for (const char* name : {"controls", "shape"}) {
        const KivBitmap picture = RenderExample(name);
        const KivBitmap expected = ReadPng(kSource / "tests/gui/reference" / (std::string(name) + ".png"));
        ASSERT_EQ(picture.Width(), expected.Width());
        ASSERT_EQ(picture.Height(), expected.Height());
        int largest = 0;
        for (int32_t y = 0; y < picture.Height(); ++y) {
            for (int32_t x = 0; x < picture.Width(); ++x) {
                const KivColor p = picture.At(x, y), q = expected.At(x, y);
                largest = std::max({largest, std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
            }
        }
        EXPECT_EQ(largest, 0) << name;
    }
}

TEST(KivControlsPictureTest, SectionsAndAccentAppearWhereTheDescriptionPutsThem) {
    const KivBitmap picture = RenderExample();
    ASSERT_EQ(picture.Width(), 600);
    ASSERT_EQ(picture.Height(), 330);
    // The window's own background in the corner, a lighter section ground inside a panel.
    EXPECT_EQ(picture.At(2, 2), KivColor::FromArgb(0xFF1B1E23));
    EXPECT_EQ(picture.At(478, 275), KivColor::FromArgb(0xFF23272D));
}

}  // namespace
