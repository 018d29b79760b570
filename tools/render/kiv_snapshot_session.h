#pragma once
#include <cstdint>

#include "gui/drawing/kiv_bitmap.h"

class KivVst2Plugin;

// A picture of a framework plug-in's editor after offline processing: the editor is built
// offscreen before the first block, refreshed every 50 ms of audio as its timer would on
// screen (so that held meter values have seen the whole signal), and painted at the end.
class KivSnapshotSession {
public:
    // False from Started() when the plug-in paints no editor pictures.
    KivSnapshotSession(KivVst2Plugin& plugin, double sampleRate);
    ~KivSnapshotSession();
    KivSnapshotSession(const KivSnapshotSession&) = delete;
    KivSnapshotSession& operator=(const KivSnapshotSession&) = delete;

    bool Started() const { return started_; }
    // After each processed block of `frames` samples.
    void Processed(int32_t frames);
    // The editor as the processing left it, drawn at `scale` times its laid-out size; an
    // empty bitmap when it could not be painted.
    KivBitmap Paint(double scale = 1.0);

private:
    KivVst2Plugin& plugin_;
    bool started_ = false;
    int64_t framesPerRefresh_ = 1;
    int64_t sinceRefresh_ = 0;
};
