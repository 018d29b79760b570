#pragma once
// Reference pictures of the editor windows, on the shared picture comparison: with
// KIV_UPDATE_REFERENCE set a reference is written first, and KIV_PICTURES_DIR keeps copies of
// the windows the tests open.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_png_writer.h"
#include "tests/support/kiv_picture_comparison.h"

namespace KivPngReference {

// Pixels whose red, green or blue differ by more than 8: anti-aliasing may move a little,
// a misplaced shape may not. A picture of another size differs everywhere.
inline int64_t CountDiffering(const KivBitmap& picture, const std::filesystem::path& reference) {
    if (std::getenv("KIV_UPDATE_REFERENCE") != nullptr) KivPngWriter::Write(picture, reference.string());
    const KivBitmap expected = KivPictureComparison::ReadPng(reference);
    if (expected.Width() != picture.Width() || expected.Height() != picture.Height())
        return int64_t{picture.Width()} * picture.Height();
    return KivPictureComparison::CountDiffering(picture, expected, 8);
}

// Writes `picture` as NAME.png into the folder KIV_PICTURES_DIR names, when it is set.
inline void SaveIfAsked(const KivBitmap& picture, const char* name) {
    const char* folder = std::getenv("KIV_PICTURES_DIR");
    if (folder != nullptr) KivPngWriter::Write(picture, (std::filesystem::path(folder) / name).string() + ".png");
}

}  // namespace KivPngReference
