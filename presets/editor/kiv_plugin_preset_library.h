#pragma once
#include "base/kiv_string.h"

class KivKestruneAudioEffectPlugin;
class KivWindow;
class KivXMLItem;

// The plug-in's own preset library: a preset holds the live settings, what one slot holds,
// and the library lives in the "Presets" folder of the plug-in's data folder.
class KivPluginPresetOwner {
public:
    static constexpr const char* kFolderName = "Presets";

    KivPluginPresetOwner(KivKestruneAudioEffectPlugin& plugin, const KivString& dataFolder);

    KivString GetPresetDirectory() const { return directory_; }
    // Loading a preset changes the live settings as a whole: the editor and the host are
    // told, as after a slot switch.
    void StoreSettings(KivXMLItem& item, bool storing);

private:
    KivKestruneAudioEffectPlugin& plugin_;
    KivString directory_;
};

namespace KivPluginPresetLibrary {

// Opens the preset library window of `plugin` over `parent` (may be null); `dataFolder` is
// the plug-in's per-user data folder, `factoryPresets` the product's factory presets (see
// KivFactoryPresets; null: none). Returns when the window is closed; never throws.
void Run(KivWindow* parent, KivKestruneAudioEffectPlugin& plugin, const KivString& dataFolder,
         const char* factoryPresets = nullptr);

}  // namespace KivPluginPresetLibrary
