#include "entry/kiv_data_path.h"

#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

#include "base/kiv_exception.h"
#include "platform/kiv_library_static.h"
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

// Removed first: the MinGW runtime takes two files on one drive for the same file (its file
// identities are all 0) and then leaves the target unchanged.
void ReplaceFile(const fs::path& source, const fs::path& target, std::error_code& error) {
    fs::remove(target, error);
    if (!error) fs::copy_file(source, target, error);
}

// File by file rather than one recursive copy: the runtime's recursive copy refuses folders
// that already exist in some implementations, and every later call meets existing ones.
void CopyOldContents(const fs::path& oldFolder, const fs::path& newFolder) {
    CreateFolder(newFolder);
    std::error_code error;
    for (fs::recursive_directory_iterator entry(oldFolder, error), end; !error && entry != end; entry.increment(error)) {
        const fs::path target = newFolder / fs::relative(entry->path(), oldFolder, error);
        if (entry->is_directory(error)) CreateFolder(target);
        else ReplaceFile(entry->path(), target, error);
    }
    if (error) RaiseFolderFailure(newFolder);
}

// The old folders this process has copied. Copying again on every call would cost every
// instance of a large session a walk over the folder, and would put the old files back over
// anything saved in the new folder since (new default settings, presets), so a user's save
// would be lost to the next instance. The first call of a process copies; the old folder is
// still never removed.
bool FirstCopyInThisProcess(const fs::path& oldFolder) {
    static std::mutex mutex;
    static KivPlatform::LibraryStatic<std::set<fs::path>> copied;
    std::lock_guard<std::mutex> lock(mutex);
    return copied->insert(oldFolder).second;
}

}  // namespace

namespace KivDataPath {

KivString Resolve(const KivString& base, const KivString& name) {
    const fs::path basePath = PathOf(base);
    const fs::path makerFolder = basePath / kMakerFolder;
    const fs::path newFolder = makerFolder / PathOf(name);
    const fs::path oldFolder = basePath / PathOf(name);
    std::error_code error;
    if (!name.IsEmpty() && fs::is_directory(oldFolder, error) && FirstCopyInThisProcess(oldFolder)) {
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
