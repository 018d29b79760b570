#pragma once
#include <memory>

#include "plugin/kiv_editor_snapshot.h"

class KivAudioPlugin;
class KivWindows;
class KivWindowSystemOffscreen;

// An editor snapshot through the offscreen window system: the plug-in's own editor, open in
// an offscreen window from Start to the snapshot's end, refreshed and painted as on screen.
class KivOffscreenEditorSnapshot : public KivEditorSnapshot {
public:
    ~KivOffscreenEditorSnapshot() override;

    void Refresh() override;
    bool Paint(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height, double scale) override;

    // The factory to register; null while an editor is open or a window system runs.
    static KivEditorSnapshot* Create(KivAudioPlugin& plugin);

private:
    explicit KivOffscreenEditorSnapshot(KivAudioPlugin& plugin);

    KivAudioPlugin& plugin_;
    KivWindowSystemOffscreen* system_;
    std::unique_ptr<KivWindows> windows_;
};
