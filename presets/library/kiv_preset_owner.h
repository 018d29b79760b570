#pragma once
#include <concepts>

#include "base/kiv_string.h"
#include "base/xml/kiv_xml_item.h"

// What an object must offer to keep a preset library of its own (the plug-in, the MIDI
// controller editor, the envelope graph, ...):
//
//   KivString GetPresetDirectory() const
//       The folder that holds its "presets.xml", without a trailing separator. It need
//       not exist yet; the first save creates it.
//   void StoreSettings(KivXMLItem& item, bool storing)
//       The one settings traversal of the object: with `storing` true it writes its
//       settings into `item`, with false it reads them back from it. Attributes and
//       subitems it does not know are ignored when reading.
//
// The owner knows nothing of files, folders or names; the library adds those.
template <typename Owner>
concept KivPresetOwner = requires(Owner& owner, const Owner& constOwner, KivXMLItem& item, bool storing) {
    { constOwner.GetPresetDirectory() } -> std::convertible_to<KivString>;
    owner.StoreSettings(item, storing);
};
