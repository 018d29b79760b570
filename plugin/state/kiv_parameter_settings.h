#pragma once

struct KivEffectParameterTable;
class KivXMLItem;

// An effect's parameter values in its settings item: one attribute per declared record, in
// declaration order, named "parameter" followed by the record's identifier ("Enum" appended
// for enumerations, which travel as their item text). Floats keep their real value, not the
// 0..1 one. `storing` writes, otherwise the values present in the item are read; what is
// absent, unreadable or names no item keeps its value, and read numbers are held to the
// record's range so that no document can put a parameter outside it.
namespace KivParameterSettings {

void Store(const KivEffectParameterTable& table, KivXMLItem& item, bool storing);

}  // namespace KivParameterSettings
