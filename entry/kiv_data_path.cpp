#include "entry/kiv_data_path.h"

#include <filesystem>
#include <system_error>

#include "base/kiv_exception.h"
#include "platform/kiv_user_data_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr const char16_t* kMakerFolder = u"Kestrune";

fs::path PathOf(const KivString& text) { return fs::path(text.ToU16()); }

KivString TextOf(const fs::path& path) { return KivString::FromU16(path.generic_u16string()); }

void RaiseFolderFailure(const fs::path& folder) {
    KivException::Raise(KivException::kCannotOpen, "Could not create folder ({0}).", TextOf(folder));
}

void CreateFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) RaiseFolderFailure(folder);
}

void CopyOldContents(const fs::path& oldFolder, const fs::path& newFolder) {
    std::error_code error;
    fs::copy(oldFolder, newFolder,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    if (error) RaiseFolderFailure(newFolder);
}

}  // namespace

namespace KivDataPath {

KivString Resolve(const KivString& base, const KivString& name) {
    const fs::path basePath = PathOf(base);
    const fs::path makerFolder = basePath / kMakerFolder;
    const fs::path newFolder = makerFolder / PathOf(name);
    const fs::path oldFolder = basePath / PathOf(name);
    std::error_code error;
    if (!name.IsEmpty() && fs::is_directory(oldFolder, error)) {
        CreateFolder(makerFolder);
        CopyOldContents(oldFolder, newFolder);
    }
    CreateFolder(newFolder);
    return TextOf(newFolder);
}

KivString ForUser(const KivString& name) {
    const std::u16string base = KivPlatform::UserDataFolder();
    if (base.empty()) throw KivException("Could not retrieve system path.");
    return Resolve(KivString::FromU16(base), name);
}

}  // namespace KivDataPath
