// TGA images in, PNG files out.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "base/kiv_exception.h"
#include "gui/drawing/kiv_png_writer.h"
#include "gui/drawing/kiv_tga_reader.h"

namespace {

std::vector<uint8_t> Tga(int width, int height, int bits, uint8_t descriptor, uint8_t type = 2) {
    std::vector<uint8_t> file = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(width), 0,
                                 static_cast<uint8_t>(height), 0, static_cast<uint8_t>(bits), descriptor};
    // Pixel n of the file has blue n, green 10 + n, red 20 + n, alpha 30 + n.
    for (int n = 0; n < width * height; ++n) {
        for (int k = 0; k < bits / 8; ++k) file.push_back(static_cast<uint8_t>(10 * k + n));
    }
    return file;
}

}  // namespace

TEST(KivImageFiles, TgaRowsFollowTheOriginBit) {
    const std::vector<uint8_t> bottomUp = Tga(3, 2, 32, 0x08);
    const KivBitmap image = KivTgaReader::Read(bottomUp.data(), bottomUp.size());
    ASSERT_EQ(image.Width(), 3);
    ASSERT_EQ(image.Height(), 2);
    EXPECT_EQ(image.At(0, 1), (KivColor{0, 10, 20, 30}));  // first stored row is the bottom one
    EXPECT_EQ(image.At(2, 0), (KivColor{5, 15, 25, 35}));

    const std::vector<uint8_t> topDown = Tga(3, 2, 32, 0x28);
    EXPECT_EQ(KivTgaReader::Read(topDown.data(), topDown.size()).At(0, 0), (KivColor{0, 10, 20, 30}));

    const std::vector<uint8_t> opaque = Tga(2, 2, 24, 0);
    EXPECT_EQ(KivTgaReader::Read(opaque.data(), opaque.size()).At(1, 1), (KivColor{1, 11, 21, 255}));
}

TEST(KivImageFiles, TgaRejectsWhatItCannotRead) {
    std::vector<uint8_t> truncated = Tga(4, 4, 32, 0);
    truncated.pop_back();
    const std::vector<uint8_t> compressed = Tga(2, 2, 32, 0, 10);
    const std::vector<uint8_t> paletted = Tga(2, 2, 8, 0, 1);
    for (const std::vector<uint8_t>* file : {&std::as_const(truncated), &compressed, &paletted}) {
        try {
            KivTgaReader::Read(file->data(), file->size());
            FAIL() << "accepted";
        } catch (const KivException& error) {
            EXPECT_EQ(error.GetCode(), 256);
            EXPECT_EQ(error.GetMessage(), KivString("Unsupported or malformed TGA image."));
        }
    }
    EXPECT_THROW(KivTgaReader::Read(nullptr, 0), KivException);
}

TEST(KivImageFiles, PngCarriesTheSizeAndRefusesEmptyBitmaps) {
    KivBitmap bitmap(300, 2);
    const std::vector<uint8_t> png = KivPngWriter::Encode(bitmap);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    ASSERT_GT(png.size(), 33u);
    EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ((png[16] << 24) | (png[17] << 16) | (png[18] << 8) | png[19], 300);
    EXPECT_EQ((png[20] << 24) | (png[21] << 16) | (png[22] << 8) | png[23], 2);
    EXPECT_THROW(KivPngWriter::Encode(KivBitmap()), KivException);
    EXPECT_THROW(KivPngWriter::Write(bitmap, "/nonexistent-folder/x.png"), KivException);
}
