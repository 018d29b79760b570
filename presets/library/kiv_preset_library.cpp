#include "presets/library/kiv_preset_library.h"

#include <cstdint>

#include "base/kiv_exception.h"
#include "base/kiv_format.h"
#include "base/stream/kiv_std_file_stream.h"
#include "platform/kiv_file_system.h"
#include "base/stream/kiv_atomic_file_writer.h"
#include "presets/library/kiv_complete_xml_reader.h"
#include "presets/library/kiv_factory_presets.h"
#include "presets/library/kiv_preset_names.h"
#include "presets/library/kiv_preset_packing.h"
#include "presets/library/kiv_preset_tree.h"
#include "presets/library/kiv_xml_item_copy.h"

namespace {

constexpr const char* kLibraryUnreadable = "Preset library \"{0}\" could not be read. {1}";
constexpr const char* kImportUnreadable = "Preset file \"{0}\" could not be read. {1}";

void RequireNamedItem(const KivXMLItem& item) {
    if (!item.GetParent() || !(KivPresetTree::IsPreset(item) || KivPresetTree::IsFolder(item)))
        throw KivException("Only presets and folders can be renamed or deleted.", KivException::kInvalidArgument);
}

void RequireWritable(const KivXMLItem& item) {
    if (KivFactoryPresets::IsReadOnly(item))
        throw KivException("The factory presets cannot be changed. Store your own presets in another folder.",
                           KivException::kInvalidArgument);
}

void RequireExportRoot(const KivXMLItem& document, const KivString& fileName) {
    if (!document.GetName().EqualsFolded(KivPresetNames::kExportRoot))
        KivException::Raise(KivException::kInputOutput, "File \"{0}\" holds no exported presets.", fileName);
}

}  // namespace

KivPresetLibrary::KivPresetLibrary(const KivString& fileName) : fileName_(fileName), root_(KivPresetNames::kLibraryRoot) {}

KivString KivPresetLibrary::FileNameIn(const KivString& directory) {
    KivString fileName(directory);
    const int32_t length = directory.Length();
    if (length > 0 && directory[length - 1] != u'/' && directory[length - 1] != u'\\') fileName.Append(u'/');
    return fileName.Append(KivString(KivPresetNames::kLibraryFile));
}

// The library's own messages lead, so that the user learns which file is damaged; the
// code and the reader's message follow unchanged.
void KivPresetLibrary::ReadDocument(const KivString& fileName, const char* failure, KivXMLItem& document) {
    try {
        KivStdFileStream file(fileName, KivStdFileStream::kRead);
        KivReadCompleteXMLDocument(file, document);
    } catch (const KivException& cause) {
        KivString message = KivFormat(failure).Argument(fileName).Argument(cause.GetMessage()).Result();
        throw KivException(message, cause.GetCode());
    }
}

void KivPresetLibrary::ConvertOldPresets(KivXMLItem& folder) {
    KivPresetTree::ForEachPreset(folder, [](KivXMLItem& preset) {
        if (KivPresetPacking::NeedsConversion(preset)) KivPresetPacking::ConvertToPacked(preset);
    });
}

void KivPresetLibrary::Load() {
    loaded_ = false;
    KivXMLItem document(KivPresetNames::kLibraryRoot);
    if (KivPlatform::FileExists(fileName_.ToU16())) ReadDocument(fileName_, kLibraryUnreadable, document);
    ConvertOldPresets(document);
    // The factory folder is built before anything changes, so that a failure leaves the
    // library as it was.
    KivXMLItem factory;
    if (factoryPresets_) KivFactoryPresets::BuildFolder(factoryPresets_, factory);
    root_.TakeContents(document);
    if (factoryPresets_) root_.AddSubItem(KivString()).TakeContents(factory);
    loaded_ = true;
}

void KivPresetLibrary::RequireLoaded() const {
    if (!loaded_) {
        KivException::Raise(KivException::kNotInitialized,
                            "Preset library \"{0}\" has not been loaded; the file is left as it is.", fileName_);
    }
}

// The user's file holds the user's presets only: read-only folders come with the product.
void KivPresetLibrary::WriteDocument(KivStream& stream) const {
    KivXMLItem user(root_.GetName());
    for (int32_t index = 0; index < root_.GetAttributeCount(); ++index)
        user.SetAttribute(root_.GetAttributeAt(index).name, root_.GetAttributeAt(index).value);
    for (int32_t index = 0; index < root_.GetSubItemCount(); ++index) {
        const KivXMLItem& item = root_.GetSubItemAt(index);
        if (!KivFactoryPresets::IsReadOnly(item)) KivAppendXMLItemCopy(item, user);
    }
    user.Save(stream, KivPresetNames::kEncoding);
}

void KivPresetLibrary::Save() {
    RequireLoaded();
    KivAtomicFileWriter writer(fileName_);
    WriteDocument(writer.GetStream());
    writer.Commit();
}

KivXMLItem& KivPresetLibrary::StorePreset(KivXMLItem& folder, const KivString& name, const KivXMLItem& settings) {
    RequireWritable(folder);
    const KivString packed = KivPresetPacking::Pack(settings);
    KivXMLItem* preset = KivPresetTree::FindPreset(folder, name);
    if (!preset) {
        preset = &folder.AddSubItem(KivPresetNames::kPreset);
        preset->SetAttribute(KivPresetNames::kName, name);
    }
    preset->RemoveAttribute(KivPresetNames::kExchangeIndex);
    preset->SetAttribute(KivPresetNames::kPacked, KivPresetNames::kPackedValue);
    preset->SetText(packed);
    return *preset;
}

KivXMLItem& KivPresetLibrary::AddFolder(KivXMLItem& parent, const KivString& name) {
    RequireWritable(parent);
    KivXMLItem& folder = parent.AddSubItem(KivPresetNames::kFolder);
    folder.SetAttribute(KivPresetNames::kName, name);
    return folder;
}

void KivPresetLibrary::Rename(KivXMLItem& presetOrFolder, const KivString& name) {
    RequireNamedItem(presetOrFolder);
    RequireWritable(presetOrFolder);
    presetOrFolder.SetAttribute(KivPresetNames::kName, name);
}

void KivPresetLibrary::Delete(KivXMLItem& presetOrFolder) {
    RequireNamedItem(presetOrFolder);
    RequireWritable(presetOrFolder);
    presetOrFolder.GetParent()->RemoveSubItem(presetOrFolder);
}

void KivPresetLibrary::ExportFolder(const KivXMLItem& folder, const KivString& fileName) {
    KivXMLItem document(KivPresetNames::kExportRoot);
    for (int32_t index = 0; index < folder.GetSubItemCount(); ++index) {
        const KivXMLItem& item = folder.GetSubItemAt(index);
        if (KivPresetTree::IsPreset(item) || KivPresetTree::IsFolder(item)) KivAppendXMLItemCopy(item, document);
    }
    KivAtomicFileWriter writer(fileName);
    document.Save(writer.GetStream(), KivPresetNames::kEncoding);
    writer.Commit();
}

void KivPresetLibrary::ImportFolder(KivXMLItem& folder, const KivString& fileName) {
    RequireWritable(folder);
    KivXMLItem document;
    ReadDocument(fileName, kImportUnreadable, document);
    RequireExportRoot(document, fileName);
    ConvertOldPresets(document);
    KivPresetTree::RemoveContents(folder);
    for (int32_t index = 0; index < document.GetSubItemCount(); ++index) {
        const KivXMLItem& item = document.GetSubItemAt(index);
        if (KivPresetTree::IsPreset(item) || KivPresetTree::IsFolder(item)) KivAppendXMLItemCopy(item, folder);
    }
}
