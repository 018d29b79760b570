#pragma once
#include "base/kiv_string.h"
#include "base/xml/kiv_xml_item.h"

class KivStream;

// One "presets.xml": the document in memory and the operations on its presets and folders.
// Presets are always stored packed; old-form presets are converted as the file is read and
// reach the disk packed with the next save.
//
// The file is touched only by Load and Save. A library whose file could not be read stays
// unloaded and refuses to save, so a damaged file is never replaced by an empty library.
// Items handed out stay valid until they are deleted or the library is loaded again.
class KivPresetLibrary {
public:
    explicit KivPresetLibrary(const KivString& fileName);
    virtual ~KivPresetLibrary() = default;
    KivPresetLibrary(const KivPresetLibrary&) = delete;
    KivPresetLibrary& operator=(const KivPresetLibrary&) = delete;

    // "presets.xml" in `directory`.
    static KivString FileNameIn(const KivString& directory);

    const KivString& GetFileName() const { return fileName_; }
    bool IsLoaded() const { return loaded_; }
    // The top folder.
    KivXMLItem& GetRoot() { return root_; }

    // The product's factory presets (see KivFactoryPresets): from the next Load on, the top
    // folder also holds their read-only "Factory" folder, which Save leaves out and no
    // operation changes. Null: none. The text must outlive the library.
    void SetFactoryPresets(const char* document) { factoryPresets_ = document; }

    // Reads the file; a missing file is an empty library. A file that cannot be read or
    // parsed raises a KivException naming the file, and is left as it is.
    void Load();
    // Writes the file in one step (see KivAtomicFileWriter); raises code 258 when the
    // library has not been loaded.
    void Save();

    // The changes below raise code 1 (invalid argument) for anything in a read-only folder.

    // Stores `settings` packed under `name` in `folder`. A preset of that name is replaced
    // in its place and loses its ExchangeIndex: it no longer holds the exchanged settings.
    KivXMLItem& StorePreset(KivXMLItem& folder, const KivString& name, const KivXMLItem& settings);
    KivXMLItem& AddFolder(KivXMLItem& parent, const KivString& name);
    void Rename(KivXMLItem& presetOrFolder, const KivString& name);
    // Deletes a preset, or a folder with everything in it.
    void Delete(KivXMLItem& presetOrFolder);

    // Writes the presets and subfolders of `folder` as a "kivpresets" file.
    void ExportFolder(const KivXMLItem& folder, const KivString& fileName);
    // Replaces every preset and subfolder of `folder` by the content of a "kivpresets"
    // file. The file is read completely first: a file that cannot be read changes nothing.
    void ImportFolder(KivXMLItem& folder, const KivString& fileName);

protected:
    // Writes the document to the temporary file of a save.
    virtual void WriteDocument(KivStream& stream) const;

private:
    void RequireLoaded() const;
    static void ReadDocument(const KivString& fileName, const char* failure, KivXMLItem& document);
    static void ConvertOldPresets(KivXMLItem& folder);

    KivString fileName_;
    KivXMLItem root_;
    const char* factoryPresets_ = nullptr;
    bool loaded_ = false;
};
