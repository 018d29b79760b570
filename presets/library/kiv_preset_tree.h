#pragma once
#include <functional>

#include "base/kiv_string.h"

class KivXMLItem;

// Finding one's way in a library document: the root and every "Directory" item are folders
// holding "preset" and "Directory" items, to any depth. Other items are left alone.
namespace KivPresetTree {

bool IsPreset(const KivXMLItem& item);
bool IsFolder(const KivXMLItem& item);
// The "name" attribute; empty when there is none (the root).
KivString GetName(const KivXMLItem& item);

// The first preset or subfolder of that name directly in `folder` (folded comparison).
KivXMLItem* FindPreset(const KivXMLItem& folder, const KivString& name);
KivXMLItem* FindFolder(const KivXMLItem& folder, const KivString& name);
// Folder names separated by "/", starting below `root`; an empty path is the root itself.
KivXMLItem* FindFolderPath(KivXMLItem& root, const KivString& path);
// "Folder/Subfolder/Preset name".
KivXMLItem* FindPresetPath(KivXMLItem& root, const KivString& path);

// Visits every preset of `folder` and of all its subfolders, each folder's own presets in
// document order before its subfolders are entered. The visitor must not add or remove
// items.
void ForEachPreset(KivXMLItem& folder, const std::function<void(KivXMLItem& preset)>& visit);

// Deletes every preset and subfolder of `folder`.
void RemoveContents(KivXMLItem& folder);

}  // namespace KivPresetTree
