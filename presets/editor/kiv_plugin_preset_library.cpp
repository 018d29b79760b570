#include "presets/editor/kiv_plugin_preset_library.h"

#include "base/kiv_boundary.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "presets/editor/kiv_preset_library_window.h"

KivPluginPresetOwner::KivPluginPresetOwner(KivKestruneAudioEffectPlugin& plugin, const KivString& dataFolder)
    : plugin_(plugin), directory_(dataFolder + KivString("/") + KivString(kFolderName)) {}

void KivPluginPresetOwner::StoreSettings(KivXMLItem& item, bool storing) {
    plugin_.StoreLiveSettings(item, storing);
    if (!storing) plugin_.OnSettingsChanged();
}

void KivPluginPresetLibrary::Run(KivWindow* parent, KivKestruneAudioEffectPlugin& plugin, const KivString& dataFolder,
                                 const char* factoryPresets) {
    KivGuard("KivPluginPresetLibrary::Run", [&] {
        KivPluginPresetOwner owner(plugin, dataFolder);
        KivPresetManagerT<KivPluginPresetOwner> manager(owner);
        manager.GetLibrary().SetFactoryPresets(factoryPresets);
        KivPresetLibraryWindow::Run(parent, manager);
    });
}
