#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/kiv_file_system.h"
#include "platform/posix/kiv_posix_text.h"

namespace KivPlatform {
namespace {

std::string NativeName(const std::u16string& name) { return Posix::Utf8FromUtf16(name); }

bool IsDirectory(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// A folder another process created at the same moment is as good as one created here.
bool CreateOneDirectory(const std::string& path) {
    return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && IsDirectory(path));
}

}  // namespace

bool FileExists(const std::u16string& name) {
    struct stat status {};
    return stat(NativeName(name).c_str(), &status) == 0;
}

// A level that cannot be created is passed over: it may exist without being visible to
// this user; only the last level decides.
bool CreateDirectories(const std::u16string& path) {
    const std::string native = NativeName(path);
    if (native.empty()) return false;
    for (size_t separator = native.find('/', 1); separator != std::string::npos;
         separator = native.find('/', separator + 1)) {
        if (native[separator - 1] == '/') continue;
        CreateOneDirectory(native.substr(0, separator));
    }
    return CreateOneDirectory(native);
}

bool RenameReplacing(const std::u16string& source, const std::u16string& target) {
    return rename(NativeName(source).c_str(), NativeName(target).c_str()) == 0;
}

bool FlushFileToDisk(const std::u16string& name) {
    const int descriptor = open(NativeName(name).c_str(), O_RDONLY);
    if (descriptor < 0) return false;
    const bool flushed = fsync(descriptor) == 0;
    close(descriptor);
    return flushed;
}

bool RemoveFile(const std::u16string& name) { return unlink(NativeName(name).c_str()) == 0 || errno == ENOENT; }

int64_t FileSize(const std::u16string& name) {
    struct stat status {};
    if (stat(NativeName(name).c_str(), &status) != 0) return -1;
    return static_cast<int64_t>(status.st_size);
}

// The file number matters where time stamps are coarse: a file replaced by a rename within
// one tick and with the same size is still another file.
FileVersion FileVersionOf(const std::u16string& name) {
    struct stat status {};
    FileVersion version;
    if (stat(NativeName(name).c_str(), &status) != 0) return version;
    version.exists = true;
    version.size = static_cast<int64_t>(status.st_size);
    version.modified = static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    version.identity = (static_cast<uint64_t>(status.st_dev) << 40) ^ static_cast<uint64_t>(status.st_ino);
    return version;
}

}  // namespace KivPlatform
