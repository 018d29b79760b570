#include "presets/library/kiv_preset_packing.h"

#include <cstdint>

#include "base/stream/kiv_hexa_stream.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "presets/library/kiv_complete_xml_reader.h"
#include "presets/library/kiv_preset_names.h"
#include "presets/library/kiv_xml_item_copy.h"

namespace KivPresetPacking {
namespace {

bool IsLibraryAttribute(const KivString& name) {
    return name.EqualsFolded(KivPresetNames::kName) || name.EqualsFolded(KivPresetNames::kPacked) ||
           name.EqualsFolded(KivPresetNames::kExchangeIndex);
}

KivString WithoutWhiteSpace(const KivString& text) {
    KivString digits;
    digits.Reserve(text.Length());
    for (int32_t index = 0; index < text.Length(); ++index)
        if (text[index] > 32) digits.Append(text[index]);
    return digits;
}

// The settings of an old-form preset gathered into an item of their own.
void GatherOldSettings(const KivXMLItem& preset, KivXMLItem& settings) {
    for (int32_t index = 0; index < preset.GetAttributeCount(); ++index) {
        const KivAttribute& attribute = preset.GetAttributeAt(index);
        if (!IsLibraryAttribute(attribute.name)) settings.SetAttribute(attribute.name, attribute.value);
    }
    for (int32_t index = 0; index < preset.GetSubItemCount(); ++index)
        KivAppendXMLItemCopy(preset.GetSubItemAt(index), settings);
}

void RemoveOldSettings(KivXMLItem& preset) {
    while (preset.GetSubItemCount() > 0) preset.RemoveSubItem(preset.GetSubItemAt(preset.GetSubItemCount() - 1));
    for (int32_t index = preset.GetAttributeCount() - 1; index >= 0; --index) {
        const KivString name = preset.GetAttributeAt(index).name;
        if (!IsLibraryAttribute(name)) preset.RemoveAttribute(name);
    }
}

}  // namespace

bool IsPacked(const KivXMLItem& preset) { return preset.HasAttribute(KivPresetNames::kPacked); }

KivString Pack(const KivXMLItem& settings) {
    KivMemoryStream digits;
    KivHexaStream hex(&digits);
    settings.Save(hex, KivPresetNames::kEncoding);
    return KivString::CopyBytes(reinterpret_cast<const char*>(digits.GetData()), digits.GetLength());
}

void Unpack(const KivXMLItem& preset, KivXMLItem& settings) {
    KivMemoryStream digits;
    digits.WriteString(WithoutWhiteSpace(preset.GetText()));
    digits.Seek(0, KivStream::kFromStart);
    KivHexaStream hex(&digits);
    KivReadCompleteXMLDocument(hex, settings);
}

bool NeedsConversion(const KivXMLItem& preset) {
    return preset.HasAttribute(KivPresetNames::kName) && !IsPacked(preset);
}

void ConvertToPacked(KivXMLItem& preset) {
    KivXMLItem settings(KivPresetNames::kSettings);
    GatherOldSettings(preset, settings);
    const KivString packed = Pack(settings);
    RemoveOldSettings(preset);
    preset.SetText(packed);
    preset.SetAttribute(KivPresetNames::kPacked, KivPresetNames::kPackedValue);
}

}  // namespace KivPresetPacking
