#pragma once
#include <cstdint>

#include "base/kiv_string.h"

class KivXMLItem;

// The attributes of a stored MIDI slot. A value equal to its stated omission value is not
// written, and an absent attribute reads as that value, so that a slot reads back as written.
namespace KivSlotAttributes {

// Numbers with 12 decimals, omitted when 0.
void WriteNumber(KivXMLItem& item, const KivString& name, double value);
double ReadNumber(const KivXMLItem& item, const KivString& name);

// Integers in decimal, omitted when equal to `omitted`.
void WriteInteger(KivXMLItem& item, const KivString& name, int64_t value, int64_t omitted);
int64_t ReadInteger(const KivXMLItem& item, const KivString& name, int64_t omitted);

// "1" when on, omitted when off; any value but 0 reads as on.
void WriteFlag(KivXMLItem& item, const KivString& name, bool on);
bool ReadFlag(const KivXMLItem& item, const KivString& name);

// Plain text, always written; absent reads as empty.
void WriteText(KivXMLItem& item, const KivString& name, const KivString& text);
KivString ReadText(const KivXMLItem& item, const KivString& name);

}  // namespace KivSlotAttributes
