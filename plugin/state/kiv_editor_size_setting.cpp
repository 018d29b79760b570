#include "plugin/state/kiv_editor_size_setting.h"

#include "base/kiv_exception.h"
#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "plugin/state/kiv_data_folder_source.h"
#include "plugin/state/kiv_global_settings_file.h"

namespace {
const KivString kEditorSize("EditorSize");
}  // namespace

int32_t KivEditorSizeSetting::Read(KivDataFolderSource* folder, const KivString& family) {
    if (folder == nullptr) return 0;
    try {
        KivXMLItem root;
        if (!KivGlobalSettingsFile(folder->GetDataFolder(), family).Read(root) || !root.HasAttribute(kEditorSize))
            return 0;
        const int64_t percent = KivNumber::TextToInteger(root.GetAttribute());
        return percent > 0 && percent < 10000 ? static_cast<int32_t>(percent) : 0;
    } catch (const KivException&) {
        return 0;
    }
}

bool KivEditorSizeSetting::Write(KivDataFolderSource* folder, const KivString& family, int32_t percent) {
    if (folder == nullptr) return false;
    try {
        const KivGlobalSettingsFile file(folder->GetDataFolder(), family);
        KivXMLItem root(KivGlobalSettingsFile::RootName());
        file.Read(root);
        root.SetAttribute(kEditorSize, KivNumber::IntegerToText(percent));
        file.Write(root);
        return true;
    } catch (const KivException&) {
        return false;
    }
}
