// The pictures in the README painted again and compared with the committed files: the editor
// through the built plug-in file's snapshot after the main job's render, the detector drawer
// and the morph pad through their own picture functions. scripts/make-pictures.sh makes the committed files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "dynamics/editor/tandrel_detector_drawer.h"
#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_png_writer.h"
#include "presets/editor/kiv_morph_window.h"
#include "tests/support/kiv_picture_comparison.h"
#include "tools/render/kiv_parameter_lookup.h"
#include "tools/render/kiv_snapshot_session.h"
#include "tools/render/kiv_wav_file.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

const std::filesystem::path kSource = std::filesystem::path(KIV_SOURCE_DIR);
const std::filesystem::path kPictures = kSource / "docs/pictures";

// The morph pad's handle in the README's picture (scripts/make-pictures.sh uses the same).
constexpr double kMorphX = 0.3, kMorphY = 0.7;

// What tandrel-render --snapshot does for the main job: the bundled programme signal in
// blocks of 512 with the threshold at -24 dB and the ratio at 4:1, the editor painted after,
// at 100% and at 200%.
struct EditorPictures {
    KivBitmap normal;
    KivBitmap doubled;
};

EditorPictures PaintEditorAfterMainJob() {
    KivAudioData input = KivWavFile::Read((kSource / "tools/render/signals/programme.wav").string());
    KivVst2Plugin plugin;
    KivVst2HostSettings settings;
    settings.sampleRate = input.sampleRate;
    settings.blockSize = 512;
    settings.offline = true;
    if (!plugin.Load(KIV_TANDREL_MINI_PATH, settings)) {
        ADD_FAILURE() << plugin.ErrorText();
        return {};
    }
    plugin.Open();
    KivParameterLookup::ValueForDisplay(plugin, KivParameterLookup::FindIndex(plugin, "Threshold (Processor 1)"), "-24 dB");
    plugin.SetParameter(KivParameterLookup::FindIndex(plugin, "Ratio (Processor 1)"), 0.238095f);
    KivSnapshotSession snapshot(plugin, input.sampleRate);
    EXPECT_TRUE(snapshot.Started());

    const int64_t frames = input.Frames();
    std::vector<std::vector<float>> output(static_cast<size_t>(plugin.NumOutputs()),
                                           std::vector<float>(static_cast<size_t>(frames)));
    std::vector<float*> inputs(static_cast<size_t>(plugin.NumInputs())), outputs(output.size());
    for (int64_t done = 0; done < frames; done += 512) {
        const int32_t length = static_cast<int32_t>(std::min<int64_t>(512, frames - done));
        for (size_t c = 0; c < inputs.size(); ++c)
            inputs[c] = input.channels[std::min(c, input.channels.size() - 1)].data() + done;
        for (size_t c = 0; c < outputs.size(); ++c) outputs[c] = output[c].data() + done;
        plugin.ProcessReplacing(inputs.data(), outputs.data(), length);
        snapshot.Processed(length);
    }

    EditorPictures pictures{snapshot.Paint(1.0), snapshot.Paint(2.0)};
    if (pictures.normal.IsEmpty() || pictures.doubled.IsEmpty()) ADD_FAILURE() << "the plug-in painted no editor picture";
    return pictures;
}

// The size menu's box in a picture at `percent`: at (904, 10), 82 x 24 in the editor's layout.
KivRect SizeMenuArea(int32_t percent) {
    const auto at = [percent](int32_t layout) { return layout * percent / 100; };
    return KivRect{at(904), at(10), at(904 + 82) - 1, at(10 + 24) - 1};
}

// Small differences of anti-aliasing are tolerated; a moved control, other text or other
// meter readings are not.
void ExpectLooksLikeCommittedPicture(const KivBitmap& picture, const char* name) {
    const std::filesystem::path committed = kPictures / name;
    if (std::getenv("KIV_UPDATE_REFERENCE") != nullptr) KivPngWriter::Write(picture, committed.string());
    const KivBitmap expected = KivPictureComparison::ReadPng(committed);
    ASSERT_GT(picture.Width(), 0);
    ASSERT_EQ(picture.Width(), expected.Width()) << name;
    ASSERT_EQ(picture.Height(), expected.Height()) << name;
    const int64_t differing = KivPictureComparison::CountDiffering(picture, expected, 8);
    EXPECT_LT(differing, picture.Width() * picture.Height() / 1000) << name << ": pixels differing by more than 8";
}

// The level history shows the end of the programme at both sizes, and the 200% picture is
// drawn at that size, not enlarged: its text has edges a single device pixel wide.
TEST(TandrelMiniPictures, EditorAfterTheMainJobLooksLikeTheReadmePicturesAt100And200Percent) {
    const EditorPictures pictures = PaintEditorAfterMainJob();
    ExpectLooksLikeCommittedPicture(pictures.normal, "editor.png");
    ExpectLooksLikeCommittedPicture(pictures.doubled, "editor-200.png");
    ASSERT_EQ(pictures.doubled.Width(), 2 * pictures.normal.Width());
    ASSERT_EQ(pictures.doubled.Height(), 2 * pictures.normal.Height());
    // Where the 200% picture differs from the 100% one enlarged (each pixel a 2 x 2 block),
    // it was drawn afresh: in a 2 x 2 block of an enlargement all four pixels agree.
    int64_t blocks = 0, splitBlocks = 0;
    for (int32_t y = 0; y + 1 < pictures.doubled.Height(); y += 2) {
        for (int32_t x = 0; x + 1 < pictures.doubled.Width(); x += 2) {
            const KivColor corner = pictures.doubled.At(x, y);
            ++blocks;
            if (pictures.doubled.At(x + 1, y) != corner || pictures.doubled.At(x, y + 1) != corner ||
                pictures.doubled.At(x + 1, y + 1) != corner)
                ++splitBlocks;
        }
    }
    EXPECT_GT(splitBlocks, blocks / 100);
}

// Each drawer picture also shows its own size in the size menu: the menu reads as in the
// editor's picture of the same size (whose snapshot goes through the editor's size path),
// not "100%" at 200%.
TEST(TandrelMiniPictures, DetectorDrawerLooksLikeTheReadmePicturesAndItsSizeMenuReadsItsSize) {
    for (const auto& [percent, name, editorName] : {std::tuple{100, "detector.png", "editor.png"},
                                                     std::tuple{200, "detector-200.png", "editor-200.png"}}) {
        const KivBitmap picture = TandrelDetectorDrawer::Picture(percent / 100.0);
        ExpectLooksLikeCommittedPicture(picture, name);
        const KivBitmap editor = KivPictureComparison::ReadPng(kPictures / editorName);
        ASSERT_EQ(picture.Width(), editor.Width()) << name;
        ASSERT_EQ(picture.Height(), editor.Height()) << name;
        EXPECT_EQ(KivPictureComparison::CountDifferingIn(picture, editor, SizeMenuArea(percent), 8), 0) << name;
    }
}

TEST(TandrelMiniPictures, MorphPadLooksLikeTheReadmePicture) {
    ExpectLooksLikeCommittedPicture(KivMorphWindow::Picture(kMorphX, kMorphY), "morph-pad.png");
}

}  // namespace
