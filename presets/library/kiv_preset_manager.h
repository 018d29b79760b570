#pragma once
#include "base/kiv_string.h"
#include "base/xml/kiv_xml_item.h"
#include "presets/library/kiv_preset_library.h"
#include "presets/library/kiv_preset_names.h"
#include "presets/library/kiv_preset_owner.h"
#include "presets/library/kiv_preset_packing.h"

// The preset library of one owner (see KivPresetOwner): "presets.xml" in the owner's
// preset directory. Every change is saved at once. Failures raise KivException and the
// window that started the operation shows them; a change whose save failed stays in memory
// and reaches the file with the next successful save.
//
// The owner may still be incomplete where the manager is declared as its member; what it
// must offer is checked where the manager is constructed.
template <typename Owner>
class KivPresetManagerT {
public:
    explicit KivPresetManagerT(Owner& owner)
        : owner_(owner), library_(KivPresetLibrary::FileNameIn(owner.GetPresetDirectory())) {
        static_assert(KivPresetOwner<Owner>, "the owner must offer GetPresetDirectory and StoreSettings");
    }

    // Reads the library file (see KivPresetLibrary::Load).
    void Open() { library_.Load(); }
    KivPresetLibrary& GetLibrary() { return library_; }
    KivXMLItem& GetRoot() { return library_.GetRoot(); }

    // The owner's current settings as a preset `name` in `folder`, replacing one of that name.
    KivXMLItem& StorePreset(const KivString& name, KivXMLItem& folder) {
        KivXMLItem settings(KivPresetNames::kSettings);
        owner_.StoreSettings(settings, true);
        KivXMLItem& preset = library_.StorePreset(folder, name, settings);
        library_.Save();
        return preset;
    }

    // Hands the settings of `preset` to the owner, whichever form the preset is in.
    void LoadPreset(KivXMLItem& preset) {
        if (!KivPresetPacking::IsPacked(preset)) {
            owner_.StoreSettings(preset, false);
            return;
        }
        KivXMLItem settings;
        KivPresetPacking::Unpack(preset, settings);
        owner_.StoreSettings(settings, false);
    }

    KivXMLItem& AddFolder(KivXMLItem& parent, const KivString& name) {
        KivXMLItem& folder = library_.AddFolder(parent, name);
        library_.Save();
        return folder;
    }

    void Rename(KivXMLItem& presetOrFolder, const KivString& name) {
        library_.Rename(presetOrFolder, name);
        library_.Save();
    }

    void Delete(KivXMLItem& presetOrFolder) {
        library_.Delete(presetOrFolder);
        library_.Save();
    }

    void ExportFolder(const KivXMLItem& folder, const KivString& fileName) { library_.ExportFolder(folder, fileName); }

    void ImportFolder(KivXMLItem& folder, const KivString& fileName) {
        library_.ImportFolder(folder, fileName);
        library_.Save();
    }

private:
    Owner& owner_;
    KivPresetLibrary library_;
};
