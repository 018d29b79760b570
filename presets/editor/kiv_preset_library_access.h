#pragma once
#include "base/kiv_string.h"
#include "base/xml/kiv_xml_item.h"
#include "presets/library/kiv_preset_manager.h"

// What the preset library window does with a library, whichever object owns it: the window
// is written once, the libraries of the plug-in, the MIDI controller editor and the others
// each reach it through KivPresetLibraryAccessT of their manager. Failures raise KivException.
class KivPresetLibraryAccess {
public:
    virtual ~KivPresetLibraryAccess() = default;
    virtual KivPresetLibrary& GetLibrary() = 0;
    // The owner's current settings as `name` in `folder`, replacing a preset of that name.
    virtual void StorePreset(const KivString& name, KivXMLItem& folder) = 0;
    // The owner takes over the settings of `preset`.
    virtual void LoadPreset(KivXMLItem& preset) = 0;
    virtual void AddFolder(KivXMLItem& parent, const KivString& name) = 0;
    virtual void Rename(KivXMLItem& presetOrFolder, const KivString& name) = 0;
    virtual void Delete(KivXMLItem& presetOrFolder) = 0;
    virtual void ExportFolder(const KivXMLItem& folder, const KivString& fileName) = 0;
    virtual void ImportFolder(KivXMLItem& folder, const KivString& fileName) = 0;
};

template <typename Owner>
class KivPresetLibraryAccessT final : public KivPresetLibraryAccess {
public:
    explicit KivPresetLibraryAccessT(KivPresetManagerT<Owner>& manager) : manager_(manager) {}
    KivPresetLibrary& GetLibrary() override { return manager_.GetLibrary(); }
    void StorePreset(const KivString& name, KivXMLItem& folder) override { manager_.StorePreset(name, folder); }
    void LoadPreset(KivXMLItem& preset) override { manager_.LoadPreset(preset); }
    void AddFolder(KivXMLItem& parent, const KivString& name) override { manager_.AddFolder(parent, name); }
    void Rename(KivXMLItem& presetOrFolder, const KivString& name) override { manager_.Rename(presetOrFolder, name); }
    void Delete(KivXMLItem& presetOrFolder) override { manager_.Delete(presetOrFolder); }
    void ExportFolder(const KivXMLItem& folder, const KivString& fileName) override {
        manager_.ExportFolder(folder, fileName);
    }
    void ImportFolder(KivXMLItem& folder, const KivString& fileName) override {
        manager_.ImportFolder(folder, fileName);
    }

private:
    KivPresetManagerT<Owner>& manager_;
};
