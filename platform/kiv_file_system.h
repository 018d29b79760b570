#pragma once
#include <cstdint>
#include <string>

// File and folder services beyond opening a file: enough to save a document safely (write a
// temporary file, then put it in place in one step) and to prepare the folder it lives in.
// Names are UTF-16; both "/" and, on Windows, "\" separate folders.
namespace KivPlatform {

bool FileExists(const std::u16string& name);
// Creates every missing folder of `path`; true when the folder exists afterwards.
bool CreateDirectories(const std::u16string& path);
// Renames `source` to `target`, replacing an existing `target` in one step: a reader sees
// either the old or the new file, never a mixture or nothing. False on failure.
bool RenameReplacing(const std::u16string& source, const std::u16string& target);
// Asks the system to put the file's contents on the disk now, so that a power failure
// right after a rename finds the new contents rather than an empty file. False when the
// system could not do it (some network drives cannot).
bool FlushFileToDisk(const std::u16string& name);
// False when the file could not be removed (a missing file counts as removed).
bool RemoveFile(const std::u16string& name);
// The size in bytes, or -1 when the file cannot be examined.
int64_t FileSize(const std::u16string& name);

// What tells one version of a file from another without reading it.
struct FileVersion {
    bool exists = false;
    int64_t size = 0;
    int64_t modified = 0;   // the last write, in the system's finest unit
    uint64_t identity = 0;  // device and file number where the system has them cheaply (POSIX), else 0

    bool operator==(const FileVersion&) const = default;
};
// The version of `name` now; `exists` false when it cannot be examined.
FileVersion FileVersionOf(const std::u16string& name);

}  // namespace KivPlatform
