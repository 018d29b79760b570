#include "entry/kiv_factory_program_list.h"

#include "base/kiv_exception.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "presets/library/kiv_factory_presets.h"

std::unique_ptr<KivFactoryProgramList> KivFactoryProgramList::Create(const char* document,
                                                                     KivKestruneAudioEffectPlugin& plugin) {
    if (!document) return nullptr;
    std::unique_ptr<KivFactoryProgramList> list(new KivFactoryProgramList(plugin));
    try {
        KivFactoryPresets::ListPresets(document, list->presets_);
    } catch (const KivException&) {
        return nullptr;
    }
    if (list->Count() == 0) return nullptr;
    return list;
}

// Hosts show the name alone; the library window shows the folders.
KivString KivFactoryProgramList::Name(int32_t index) const {
    const KivString path = presets_.GetSubItemAt(index).GetAttribute(KivString("name"));
    int32_t start = 0;
    for (int32_t i = 0; i < path.Length(); ++i)
        if (path[i] == u'/') start = i + 1;
    KivString name;
    for (int32_t i = start; i < path.Length(); ++i) name.Append(path[i]);
    return name;
}

void KivFactoryProgramList::Load(int32_t index) {
    plugin_.StoreLiveSettings(presets_.GetSubItemAt(index), false);
    plugin_.OnSettingsChanged();
}
