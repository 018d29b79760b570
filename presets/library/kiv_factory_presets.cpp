#include "presets/library/kiv_factory_presets.h"

#include <cstring>
#include <functional>

#include "base/kiv_exception.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "presets/library/kiv_complete_xml_reader.h"
#include "presets/library/kiv_preset_names.h"
#include "presets/library/kiv_preset_packing.h"
#include "presets/library/kiv_preset_tree.h"
#include "presets/library/kiv_xml_item_copy.h"

namespace {

void ReadDocument(const char* text, KivXMLItem& document) {
    const auto size = static_cast<int32_t>(std::strlen(text));
    KivMemoryStream stream(KivByteBuffer::Borrow(const_cast<char*>(text), size));
    KivReadCompleteXMLDocument(stream, document);
    if (!document.GetName().EqualsFolded(KivFactoryPresets::kRoot))
        throw KivException("The factory presets have no \"FactoryPresets\" root.", KivException::kInvalidArgument);
}

const KivXMLItem* FindCommon(const KivXMLItem& document) {
    return document.HasSubItem(KivFactoryPresets::kCommon) ? &document.GetSubItem() : nullptr;
}

// Gives `preset` what it lacks of `common`: attributes, and subitems by name.
void Complete(KivXMLItem& preset, const KivXMLItem* common) {
    if (common == nullptr) return;
    for (int32_t index = 0; index < common->GetAttributeCount(); ++index) {
        const KivAttribute& attribute = common->GetAttributeAt(index);
        if (!preset.HasAttribute(attribute.name)) preset.SetAttribute(attribute.name, attribute.value);
    }
    for (int32_t index = 0; index < common->GetSubItemCount(); ++index) {
        const KivXMLItem& item = common->GetSubItemAt(index);
        if (!preset.HasSubItem(item.GetName())) KivAppendXMLItemCopy(item, preset);
    }
}

void VisitPresets(KivXMLItem& folder, const KivString& path, const std::function<void(KivXMLItem&, const KivString&)>& visit) {
    for (int32_t index = 0; index < folder.GetSubItemCount(); ++index) {
        KivXMLItem& item = folder.GetSubItemAt(index);
        const KivString name = KivPresetTree::GetName(item);
        const KivString itemPath = path.IsEmpty() ? name : path + KivString("/") + name;
        if (KivPresetTree::IsPreset(item)) visit(item, itemPath);
        else if (KivPresetTree::IsFolder(item)) VisitPresets(item, itemPath, visit);
    }
}

}  // namespace

namespace KivFactoryPresets {

void BuildFolder(const char* document, KivXMLItem& folder) {
    KivXMLItem source;
    ReadDocument(document, source);
    const KivXMLItem* common = FindCommon(source);
    KivXMLItem built(KivString(KivPresetNames::kFolder));
    for (int32_t index = 0; index < source.GetSubItemCount(); ++index) {
        const KivXMLItem& item = source.GetSubItemAt(index);
        if (KivPresetTree::IsPreset(item) || KivPresetTree::IsFolder(item)) KivAppendXMLItemCopy(item, built);
    }
    VisitPresets(built, KivString(), [common](KivXMLItem& preset, const KivString&) {
        Complete(preset, common);
        KivPresetPacking::ConvertToPacked(preset);
    });
    built.SetAttribute(KivString(KivPresetNames::kName), KivString(kFolderName));
    built.SetAttribute(KivString(kReadOnly), KivString("1"));
    folder.TakeContents(built);
}

void ListPresets(const char* document, KivXMLItem& list) {
    KivXMLItem source;
    ReadDocument(document, source);
    const KivXMLItem* common = FindCommon(source);
    VisitPresets(source, KivString(), [&](KivXMLItem& preset, const KivString& path) {
        KivXMLItem& settings = KivAppendXMLItemCopy(preset, list);
        settings.SetName(KivString(KivPresetNames::kSettings));
        Complete(settings, common);
        settings.SetAttribute(KivString(KivPresetNames::kName), path);
    });
}

bool IsReadOnly(const KivXMLItem& item) {
    for (const KivXMLItem* at = &item; at != nullptr; at = at->GetParent()) {
        if (KivPresetTree::IsFolder(*at) && at->HasAttribute(KivString(kReadOnly))) return true;
    }
    return false;
}

}  // namespace KivFactoryPresets
