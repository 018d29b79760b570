#include "plugin/kiv_editor_snapshot.h"

#include <atomic>

namespace {
std::atomic<KivEditorSnapshot::Factory> snapshotFactory{nullptr};
}  // namespace

void KivEditorSnapshot::SetFactory(Factory factory) noexcept { snapshotFactory.store(factory); }

std::unique_ptr<KivEditorSnapshot> KivEditorSnapshot::Start(KivAudioPlugin& plugin) {
    const Factory factory = snapshotFactory.load();
    return std::unique_ptr<KivEditorSnapshot>(factory ? factory(plugin) : nullptr);
}
