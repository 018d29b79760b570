#include "presets/library/kiv_preset_exchange_index.h"

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "presets/library/kiv_preset_names.h"
#include "presets/library/kiv_preset_tree.h"

namespace KivPresetExchangeIndex {

bool Read(const KivXMLItem& preset, int32_t& index) {
    if (!preset.HasAttribute(KivPresetNames::kExchangeIndex)) return false;
    const KivString text = preset.GetAttribute().Trimmed();
    int32_t consumed = 0;
    const int64_t value = KivNumber::TextToInteger(text, 10, &consumed);
    if (text.IsEmpty() || consumed != text.Length() || value < INT32_MIN || value > INT32_MAX) return false;
    index = static_cast<int32_t>(value);
    return true;
}

void Assign(KivXMLItem& preset, int32_t index) {
    preset.SetAttribute(KivPresetNames::kExchangeIndex, KivNumber::IntegerToText(index));
}

void ForEachPreset(KivXMLItem& root, const std::function<void(KivXMLItem& preset)>& visit) {
    KivPresetTree::ForEachPreset(root, visit);
}

}  // namespace KivPresetExchangeIndex
