#include "plugin/editor/kiv_offscreen_editor_snapshot.h"

#include <chrono>
#include <thread>

#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "plugin/editor/kiv_house_editor.h"
#include "plugin/kiv_audio_plugin.h"
#include "plugin/kiv_audio_plugin_editor.h"

namespace {

// Refresh steps before the picture: the first publishes the meters, the later ones let the
// invalidator (which merges for 50 ms) hand every repaint over.
constexpr int kSettleSteps = 3;
constexpr int kMergeWaitMilliseconds = 60;

}  // namespace

KivEditorSnapshot* KivOffscreenEditorSnapshot::Create(KivAudioPlugin& plugin) {
    if (plugin.GetEditor() || KivWindows::System()) return nullptr;
    auto snapshot = std::unique_ptr<KivOffscreenEditorSnapshot>(new KivOffscreenEditorSnapshot(plugin));
    KivAudioPlugin::KivEditor* editor = plugin.CreateEditor(nullptr);
    if (!editor || !editor->Open(0)) return nullptr;
    return snapshot.release();
}

KivOffscreenEditorSnapshot::KivOffscreenEditorSnapshot(KivAudioPlugin& plugin)
    : plugin_(plugin), system_(new KivWindowSystemOffscreen()), windows_(std::make_unique<KivWindows>(system_)) {}

KivOffscreenEditorSnapshot::~KivOffscreenEditorSnapshot() { plugin_.DestroyEditor(); }

void KivOffscreenEditorSnapshot::Refresh() {
    system_->AdvanceClock(KivHouseEditor::kRefreshMilliseconds);
    system_->ProcessPendingEvents();
}

bool KivOffscreenEditorSnapshot::Paint(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height,
                                       double scale) {
    auto* editor = dynamic_cast<KivHouseEditor*>(plugin_.GetEditor());
    if (!editor) return false;
    // A picture changes no remembered size.
    editor->ShowAtZoom(scale);
    for (int step = 0; step < kSettleSteps; ++step) {
        system_->AdvanceClock(KivHouseEditor::kRefreshMilliseconds);
        system_->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(kMergeWaitMilliseconds));
        system_->ProcessPendingEvents();
    }
    const KivBitmap* screen = system_->GetScreen(editor->GetWindow());
    if (!screen) return false;
    width = screen->Width();
    height = screen->Height();
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = screen->At(x, y).WithAlpha(255).ToPixel();
    }
    return true;
}
