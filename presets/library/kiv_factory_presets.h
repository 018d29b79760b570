#pragma once
#include "base/kiv_string.h"

class KivXMLItem;

// The presets a product ships inside its library file: a read-only "Factory" folder shown in
// the preset library beside the user's own presets, never written into the user's file and
// never changed by it.
//
// A product describes them in one XML document: root "FactoryPresets", an optional "Common"
// item and folders ("Directory") of presets ("preset" with a "name"), as in a library file,
// each preset holding settings in the open form (attributes and subitems of a settings item).
// A preset is completed from "Common": every attribute and subitem it lacks is taken from
// there. "Common" names every setting any factory preset changes, at its value in a new
// instance, so that loading one factory preset after another never keeps a setting of the
// first (a de-esser's side-chain filter, say).
namespace KivFactoryPresets {

inline constexpr const char* kFolderName = "Factory";
inline constexpr const char* kRoot = "FactoryPresets";
inline constexpr const char* kCommon = "Common";
// The attribute marking the folder read-only; the library never writes such a folder.
inline constexpr const char* kReadOnly = "readonly";

// Builds the "Factory" folder from `document` (UTF-8 XML text) into `folder`, which is
// renamed and marked read-only; its presets come out completed and packed, as the library
// keeps every preset. Raises KivException for a document that cannot be read.
void BuildFolder(const char* document, KivXMLItem& folder);

// The settings of every factory preset in document order, completed, each as a settings item
// under `list` (named by the preset's path, "Folder/Name", in its "name" attribute).
void ListPresets(const char* document, KivXMLItem& list);

// Whether `item` is a read-only folder or lies inside one.
bool IsReadOnly(const KivXMLItem& item);

}  // namespace KivFactoryPresets
