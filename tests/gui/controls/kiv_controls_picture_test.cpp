// The bundled example description painted offscreen, compared with its committed picture:
// the house style and the standard controls' painting, all at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "base/stream/kiv_std_file_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_window_picture.h"
#include "gui/drawing/kiv_png_writer.h"
#include "tests/support/kiv_picture_comparison.h"

namespace {

const std::filesystem::path kSource = std::filesystem::path(KIV_SOURCE_DIR);

using KivPictureComparison::ReadPng;

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
    const int64_t differing = KivPictureComparison::CountDiffering(picture, expected, 8);
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
