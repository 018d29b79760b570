// kivtool presets: looks into a preset library ("presets.xml") and moves folders of presets
// in and out of it as "kivpresets" files, without a host. Folders and presets are named by
// paths such as "Mastering/Loud"; an empty path or "/" is the top folder.
#include <cstdio>
#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_console_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "presets/library/kiv_preset_library.h"
#include "presets/library/kiv_preset_names.h"
#include "presets/library/kiv_preset_packing.h"
#include "presets/library/kiv_preset_tree.h"
#include "tools/kivtool/kivtool_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: kivtool presets list LIBRARY\n"
    "       kivtool presets show LIBRARY PRESET-PATH\n"
    "       kivtool presets export LIBRARY FOLDER-PATH FILE.kivpresets\n"
    "       kivtool presets import LIBRARY FOLDER-PATH FILE.kivpresets\n";

int PresetsUsage() {
    std::fputs(kUsage, stderr);
    return 2;
}

KivString Text(const std::string& utf8) { return KivString::FromUTF8(utf8); }

// Folders end in "/", and everything in a folder is indented two spaces deeper.
void ListFolder(const KivXMLItem& folder, int depth) {
    for (int32_t index = 0; index < folder.GetSubItemCount(); ++index) {
        const KivXMLItem& item = folder.GetSubItemAt(index);
        const bool isFolder = KivPresetTree::IsFolder(item);
        if (!isFolder && !KivPresetTree::IsPreset(item)) continue;
        std::printf("%*s%s%s\n", depth * 2, "", KivPresetTree::GetName(item).ToUTF8().c_str(), isFolder ? "/" : "");
        if (isFolder) ListFolder(item, depth + 1);
    }
}

KivXMLItem& RequireFolder(KivPresetLibrary& library, const std::string& path) {
    KivXMLItem* folder = KivPresetTree::FindFolderPath(library.GetRoot(), Text(path));
    if (!folder) KivException::Raise(KivException::kInvalidArgument, "There is no folder \"{0}\".", Text(path));
    return *folder;
}

// Import may name a folder that does not exist yet: it is created, level by level.
KivXMLItem& FolderForImport(KivPresetLibrary& library, const std::string& path) {
    KivXMLItem* folder = &library.GetRoot();
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            const KivString name = Text(path.substr(start, end - start));
            KivXMLItem* existing = KivPresetTree::FindFolder(*folder, name);
            folder = existing ? existing : &library.AddFolder(*folder, name);
        }
        start = end + 1;
    }
    return *folder;
}

void ShowPreset(KivPresetLibrary& library, const std::string& path) {
    KivXMLItem* preset = KivPresetTree::FindPresetPath(library.GetRoot(), Text(path));
    if (!preset) KivException::Raise(KivException::kInvalidArgument, "There is no preset \"{0}\".", Text(path));
    KivXMLItem settings;
    KivPresetPacking::Unpack(*preset, settings);
    KivConsoleStream console;
    settings.Save(console, KivPresetNames::kEncoding);
    console.Flush();
}

int Run(const std::string& action, const KivToolArguments& arguments) {
    KivPresetLibrary library(Text(arguments[1]));
    library.Load();
    if (action == "list" && arguments.size() == 2) {
        ListFolder(library.GetRoot(), 0);
    } else if (action == "show" && arguments.size() == 3) {
        ShowPreset(library, arguments[2]);
    } else if (action == "export" && arguments.size() == 4) {
        library.ExportFolder(RequireFolder(library, arguments[2]), Text(arguments[3]));
    } else if (action == "import" && arguments.size() == 4) {
        library.ImportFolder(FolderForImport(library, arguments[2]), Text(arguments[3]));
        library.Save();
    } else {
        return PresetsUsage();
    }
    return 0;
}

}  // namespace

int RunPresetsCommand(const KivToolArguments& arguments) {
    if (arguments.size() < 2) return PresetsUsage();
    try {
        return Run(arguments[0], arguments);
    } catch (const KivException& exception) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", exception.GetMessage().ToUTF8().c_str());
        return 1;
    }
}
