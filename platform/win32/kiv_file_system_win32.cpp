#include <windows.h>

#include <string>

#include "platform/kiv_file_system.h"

namespace KivPlatform {
namespace {

const wchar_t* Wide(const std::u16string& name) { return reinterpret_cast<const wchar_t*>(name.c_str()); }

bool IsSeparator(char16_t character) { return character == u'/' || character == u'\\'; }

bool IsDirectory(const std::u16string& path) {
    DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A folder another process created at the same moment counts as created here.
bool CreateOneDirectory(const std::u16string& path) {
    return CreateDirectoryW(Wide(path), nullptr) || IsDirectory(path);
}

}  // namespace

bool FileExists(const std::u16string& name) { return GetFileAttributesW(Wide(name)) != INVALID_FILE_ATTRIBUTES; }

// A level that cannot be created is passed over (a network server name, a folder hidden
// from this user); only the last level decides.
bool CreateDirectories(const std::u16string& path) {
    if (path.empty()) return false;
    for (size_t index = 1; index < path.size(); ++index) {
        if (!IsSeparator(path[index]) || IsSeparator(path[index - 1])) continue;
        CreateOneDirectory(path.substr(0, index));
    }
    return CreateOneDirectory(path);
}

bool RenameReplacing(const std::u16string& source, const std::u16string& target) {
    return MoveFileExW(Wide(source), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FlushFileToDisk(const std::u16string& name) {
    HANDLE file = CreateFileW(Wide(name), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed;
}

bool RemoveFile(const std::u16string& name) {
    return DeleteFileW(Wide(name)) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}

int64_t FileSize(const std::u16string& name) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(name), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// NTFS keeps write times to 100 ns. The file number would need the file opened; a rename
// onto a name may even keep the old creation time, so neither is used.
FileVersion FileVersionOf(const std::u16string& name) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FileVersion version;
    if (!GetFileAttributesExW(Wide(name), GetFileExInfoStandard, &data)) return version;
    version.exists = true;
    version.size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    version.modified = (static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return version;
}

}  // namespace KivPlatform
