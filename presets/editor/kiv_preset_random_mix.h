#pragma once

class KivXMLItem;

// Random settings made from stored presets, for the library's random button: each setting
// is taken from a preset drawn anew for that setting, so the result mixes the presets of a
// folder rather than picking one of them. Draws come from the module's random generator.
namespace KivPresetRandomMix {

// Appends to `holder` the settings item made from every preset of `folder` and its
// subfolders, and returns it; null when there are no presets. The item keeps the structure
// of one preset drawn at random; every attribute of it, at any depth, then takes its value
// from a preset drawn at random among those that hold that attribute at the same place.
// Raises the packing's KivException for a preset that cannot be unpacked.
KivXMLItem* MixInto(KivXMLItem& folder, KivXMLItem& holder);

}  // namespace KivPresetRandomMix
