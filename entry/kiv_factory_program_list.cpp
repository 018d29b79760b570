#include "entry/kiv_factory_program_list.h"

#include <mutex>

#include "base/kiv_exception.h"
#include "platform/kiv_library_static.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "plugin/state/kiv_settings_item_copy.h"
#include "presets/library/kiv_factory_presets.h"

namespace {

// The presets of `document`, parsed on the first call of the process: a session opening a
// hundred instances would otherwise parse and complete every factory preset a hundred times.
// Null when the document cannot be read.
std::shared_ptr<const KivXMLItem> SharedPresets(const char* document) {
    static std::mutex mutex;
    static const char* parsedDocument = nullptr;
    static KivPlatform::LibraryStatic<std::shared_ptr<const KivXMLItem>> kept;
    std::shared_ptr<const KivXMLItem>& parsed = *kept;
    std::lock_guard<std::mutex> lock(mutex);
    if (document != parsedDocument) {
        parsedDocument = document;
        parsed.reset();
        auto presets = std::make_shared<KivXMLItem>();
        try {
            KivFactoryPresets::ListPresets(document, *presets);
            parsed = std::move(presets);
        } catch (const KivException&) {
        }
    }
    return parsed;
}

}  // namespace

std::unique_ptr<KivFactoryProgramList> KivFactoryProgramList::Create(const char* document,
                                                                     KivKestruneAudioEffectPlugin& plugin) {
    if (!document) return nullptr;
    std::shared_ptr<const KivXMLItem> presets = SharedPresets(document);
    if (!presets || presets->GetSubItemCount() == 0) return nullptr;
    return std::unique_ptr<KivFactoryProgramList>(new KivFactoryProgramList(plugin, std::move(presets)));
}

// Hosts show the name alone; the library window shows the folders.
KivString KivFactoryProgramList::Name(int32_t index) const {
    const KivString path = presets_->GetSubItemAt(index).GetAttribute(KivString("name"));
    int32_t start = 0;
    for (int32_t i = 0; i < path.Length(); ++i)
        if (path[i] == u'/') start = i + 1;
    KivString name;
    for (int32_t i = start; i < path.Length(); ++i) name.Append(path[i]);
    return name;
}

void KivFactoryProgramList::Load(int32_t index) {
    // Loading looks attributes up through the item's remembered-lookup helpers, which write
    // to the item: the shared list is read only through a copy.
    KivXMLItem settings;
    KivCopySettingsItem(presets_->GetSubItemAt(index), settings);
    plugin_.StoreLiveSettings(settings, false);
    plugin_.OnSettingsChanged();
}
