#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "base/kiv_object.h"

class KivAudioPlugin;

// The plug-in's editor painted without any window on screen, for tools that render offline
// and want a picture of the editor as the processing left it. The editor is built when the
// snapshot starts, so that its meters follow the audio processed meanwhile; Paint takes the
// picture. The GUI library registers how snapshots are made, as it does the editor factory.
class KivEditorSnapshot : public KivObject {
public:
    ~KivEditorSnapshot() override = default;

    // One step of the editor's periodic refresh, as its timer gives it on screen.
    virtual void Refresh() = 0;
    // Brings the editor up to date and copies its pixels (0xAARRGGBB, row by row), drawn at
    // `scale` times its laid-out size.
    virtual bool Paint(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height, double scale) = 0;

    using Factory = KivEditorSnapshot* (*)(KivAudioPlugin& plugin);
    static void SetFactory(Factory factory) noexcept;
    // Null when no GUI library registered, when the plug-in has no editor or when another
    // window system already runs in the process.
    static std::unique_ptr<KivEditorSnapshot> Start(KivAudioPlugin& plugin);
};
