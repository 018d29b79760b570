#pragma once
#include "base/kiv_string.h"

class KivXMLItem;

// The two forms of a stored preset.
//
// Packed form ("compressed"="1"): the settings item written as a "utf-8" XML document and
// those bytes held as the preset's text in hexadecimal, two upper-case digits per byte. The
// bytes are not deflated, whatever the attribute's name says: the files stay readable with
// a hex viewer, and older readers expect exactly this.
//
// Old form (no "compressed"): the preset item itself is the settings item; its settings
// are its own subitems and attributes beside the library's "name" and "ExchangeIndex".
namespace KivPresetPacking {

bool IsPacked(const KivXMLItem& preset);
// The text of a packed preset holding `settings`.
KivString Pack(const KivXMLItem& settings);
// Reads the settings document of a packed preset into `settings`. Characters up to 32 in
// the text (line breaks of an edited file) are ignored.
void Unpack(const KivXMLItem& preset, KivXMLItem& settings);

// Whether the library converts this item when it reads a file: a preset with a name that
// is still in the old form.
bool NeedsConversion(const KivXMLItem& preset);
// Turns an old-form preset into the packed form holding the same settings: its subitems
// and its attributes other than the library's move into a "settings" document, which
// becomes its text, and "compressed"="1" is set. Loading it gives the settings it gave
// before.
void ConvertToPacked(KivXMLItem& preset);

}  // namespace KivPresetPacking
