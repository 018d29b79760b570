#include "plugin/state/kiv_parameter_settings.h"

#include <algorithm>

#include "base/xml/kiv_xml_item.h"
#include "parameters/kiv_parameter_registration.h"
#include "parameters/kiv_record_value.h"
#include "plugin/state/kiv_settings_values.h"

namespace {

// Every record access goes through the record-value accessors: a host thread or the audio
// thread may set the same parameter while a traversal reads or loads it (MIDI controllers,
// host automation during a program change carried out by the update thread).

const KivString kPrefix("parameter");
const KivString kEnumSuffix("Enum");

// Identifiers are short keys, but nothing stops an effect from declaring one with a blank or
// a markup character; such a character would make the state document unreadable, so it is
// written (and looked up) as "_".
KivString AttributeName(const KivEffectParameter& record) {
    KivString name = kPrefix + record.identifier;
    for (int32_t i = kPrefix.Length(); i < name.Length(); ++i) {
        const char16_t c = name[i];
        const bool nameCharacter = c > 32 && c != u'<' && c != u'>' && c != u'"' && c != u'/' && c != u'!' &&
                                   c != u'=' && c != u'&' && c != u'?';
        if (!nameCharacter) name.MutableUnits()[i] = u'_';
    }
    return name;
}

void StoreFloat(KivEffectParameter& record, KivXMLItem& item, bool storing) {
    auto& values = record.values.asFloat;
    double value = KivLoadRecordValue(values.value);
    KivSettingsValues::StoreDouble(item, AttributeName(record), value, storing);
    if (storing) return;
    if (values.minimum <= values.maximum) value = std::clamp(value, values.minimum, values.maximum);
    KivStoreRecordValue(values.value, value);
}

void StoreInteger(KivEffectParameter& record, KivXMLItem& item, bool storing) {
    auto& values = record.values.asInteger;
    int32_t value = KivLoadRecordValue(values.value);
    KivSettingsValues::StoreInteger(item, AttributeName(record), value, storing);
    if (storing) return;
    if (values.minimum <= values.maximum) value = std::clamp(value, values.minimum, values.maximum);
    KivStoreRecordValue(values.value, value);
}

// Item texts are matched like every other name in settings: ignoring case and accents.
int32_t FindEnumerationItem(const KivEffectParameter::EnumerationValues& values, const KivString& text) {
    for (int32_t index = 0; index < values.count; ++index) {
        if (values.items[index] && KivString(values.items[index]).EqualsFolded(text)) return index;
    }
    return -1;
}

void StoreEnumeration(KivEffectParameter& record, KivXMLItem& item, bool storing) {
    auto& values = record.values.asEnumeration;
    const KivString name = AttributeName(record) + kEnumSuffix;
    if (storing) {
        const int32_t index = KivLoadRecordValue(values.index);
        const bool valid = values.items && index >= 0 && index < values.count;
        item.SetAttribute(name, valid ? KivString(values.items[index]) : KivString());
        return;
    }
    if (!values.items || !item.HasAttribute(name)) return;
    const int32_t index = FindEnumerationItem(values, item.GetAttribute());
    if (index >= 0) KivStoreRecordValue(values.index, index);
}

void StoreBool(KivEffectParameter& record, KivXMLItem& item, bool storing) {
    bool on = KivLoadRecordValue(record.values.asBool.value) != 0;
    KivSettingsValues::StoreFlag(item, AttributeName(record), on, storing);
    if (!storing) KivStoreRecordValue(record.values.asBool.value, static_cast<uint8_t>(on ? 1 : 0));
}

void StoreGroupSwitch(KivEffectParameter& record, KivXMLItem& item, bool storing) {
    uint8_t* enabled = record.values.asGroup.enabled;
    if (!enabled) return;
    bool on = KivLoadRecordValue(*enabled) != 0;
    KivSettingsValues::StoreFlag(item, AttributeName(record), on, storing);
    if (!storing) KivStoreRecordValue(*enabled, static_cast<uint8_t>(on ? 1 : 0));
}

void StoreRecord(KivEffectParameter& record, KivXMLItem& item, bool storing) {
    switch (record.type) {
        case kKivParameterTypeFloat: return StoreFloat(record, item, storing);
        case kKivParameterTypeInteger: return StoreInteger(record, item, storing);
        case kKivParameterTypeEnumeration: return StoreEnumeration(record, item, storing);
        case kKivParameterTypeBool: return StoreBool(record, item, storing);
        case kKivParameterTypeGroup: return StoreGroupSwitch(record, item, storing);
        default: return;
    }
}

}  // namespace

namespace KivParameterSettings {

void Store(const KivEffectParameterTable& table, KivXMLItem& item, bool storing) {
    for (int32_t index = 0; index < table.recordCount; ++index) {
        KivEffectParameter& record = table.Record(index);
        if (record.HasFlag(KivEffectParameter::kDeclared)) StoreRecord(record, item, storing);
    }
}

}  // namespace KivParameterSettings
