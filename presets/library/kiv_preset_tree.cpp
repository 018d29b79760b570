#include "presets/library/kiv_preset_tree.h"

#include <cstdint>
#include <vector>

#include "base/xml/kiv_xml_item.h"
#include "presets/library/kiv_preset_names.h"

namespace KivPresetTree {
namespace {

KivXMLItem* FindNamed(const KivXMLItem& folder, bool (*isKind)(const KivXMLItem&), const KivString& name) {
    for (int32_t index = 0; index < folder.GetSubItemCount(); ++index) {
        KivXMLItem& item = folder.GetSubItemAt(index);
        if (isKind(item) && GetName(item).EqualsFolded(name)) return &item;
    }
    return nullptr;
}

// Splits "a/b/c" at the last separator into folder path and final name.
void SplitLast(const KivString& path, KivString& folderPath, KivString& name) {
    int32_t separator = -1;
    for (int32_t index = path.Find(u'/'); index >= 0; index = path.Find(u'/', index + 1)) separator = index;
    folderPath = separator < 0 ? KivString() : path.Substring(0, separator);
    name = path.Substring(separator + 1);
}

}  // namespace

bool IsPreset(const KivXMLItem& item) { return item.GetName().EqualsFolded(KivPresetNames::kPreset); }

bool IsFolder(const KivXMLItem& item) { return item.GetName().EqualsFolded(KivPresetNames::kFolder); }

KivString GetName(const KivXMLItem& item) {
    return item.HasAttribute(KivPresetNames::kName) ? item.GetAttribute() : KivString();
}

KivXMLItem* FindPreset(const KivXMLItem& folder, const KivString& name) { return FindNamed(folder, IsPreset, name); }

KivXMLItem* FindFolder(const KivXMLItem& folder, const KivString& name) { return FindNamed(folder, IsFolder, name); }

// Empty pieces ("/a//b/") are skipped, so a leading or doubled separator does no harm.
KivXMLItem* FindFolderPath(KivXMLItem& root, const KivString& path) {
    KivXMLItem* folder = &root;
    int32_t start = 0;
    while (folder && start < path.Length()) {
        int32_t end = path.Find(u'/', start);
        if (end < 0) end = path.Length();
        if (end > start) folder = FindFolder(*folder, path.Substring(start, end - start));
        start = end + 1;
    }
    return folder;
}

KivXMLItem* FindPresetPath(KivXMLItem& root, const KivString& path) {
    KivString folderPath;
    KivString name;
    SplitLast(path, folderPath, name);
    KivXMLItem* folder = FindFolderPath(root, folderPath);
    return folder ? FindPreset(*folder, name) : nullptr;
}

// Without recursion: a file may nest folders deeper than any stack allows.
void ForEachPreset(KivXMLItem& folder, const std::function<void(KivXMLItem& preset)>& visit) {
    std::vector<KivXMLItem*> pending{&folder};
    while (!pending.empty()) {
        KivXMLItem* current = pending.back();
        pending.pop_back();
        for (int32_t index = 0; index < current->GetSubItemCount(); ++index)
            if (IsPreset(current->GetSubItemAt(index))) visit(current->GetSubItemAt(index));
        for (int32_t index = current->GetSubItemCount() - 1; index >= 0; --index)
            if (IsFolder(current->GetSubItemAt(index))) pending.push_back(&current->GetSubItemAt(index));
    }
}

void RemoveContents(KivXMLItem& folder) {
    for (int32_t index = folder.GetSubItemCount() - 1; index >= 0; --index) {
        KivXMLItem& item = folder.GetSubItemAt(index);
        if (IsPreset(item) || IsFolder(item)) folder.RemoveSubItem(item);
    }
}

}  // namespace KivPresetTree
