#include "tools/render/kiv_snapshot_session.h"

#include <algorithm>
#include <cmath>

#include "hosts/vst2/kiv_vst_editor_snapshot.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

intptr_t Step(KivVst2Plugin& plugin, KivVstEditorSnapshot::Step step, void* record = nullptr, float scale = 0.0f) {
    return plugin.Dispatch(effVendorSpecific, KivVstEditorSnapshot::kIndex, step, record, scale);
}

}  // namespace

KivSnapshotSession::KivSnapshotSession(KivVst2Plugin& plugin, double sampleRate)
    : plugin_(plugin),
      framesPerRefresh_(std::max<int64_t>(
          1, std::llround(sampleRate * KivVstEditorSnapshot::kRefreshMilliseconds / 1000.0))) {
    started_ = Step(plugin_, KivVstEditorSnapshot::kStart) == 1;
}

KivSnapshotSession::~KivSnapshotSession() {
    if (started_) Step(plugin_, KivVstEditorSnapshot::kEnd);
}

void KivSnapshotSession::Processed(int32_t frames) {
    if (!started_) return;
    for (sinceRefresh_ += frames; sinceRefresh_ >= framesPerRefresh_; sinceRefresh_ -= framesPerRefresh_)
        Step(plugin_, KivVstEditorSnapshot::kRefresh);
}

KivBitmap KivSnapshotSession::Paint(double scale) {
    KivVstEditorSnapshot::Picture picture{};
    if (!started_ || Step(plugin_, KivVstEditorSnapshot::kPaint, &picture, static_cast<float>(scale)) != 1)
        return KivBitmap();
    KivBitmap bitmap(picture.width, picture.height);
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x)
            bitmap.Set(x, y, KivColor::FromPixel(picture.pixels[static_cast<size_t>(y) * picture.width + x]));
    }
    return bitmap;
}
