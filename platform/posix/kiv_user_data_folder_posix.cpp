#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "platform/kiv_user_data_folder.h"
#include "platform/posix/kiv_posix_text.h"

namespace KivPlatform {
namespace {

std::string HomeFolder() {
    if (const char* home = getenv("HOME"); home && *home == '/') return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof(buffer), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return std::string();
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

// The XDG base-directory rules: a relative $XDG_DATA_HOME is invalid and ignored.
std::u16string UserDataFolder() {
    if (const char* data = getenv("XDG_DATA_HOME"); data && *data == '/')
        return Posix::Utf16FromUtf8(WithoutTrailingSlash(data));
    const std::string home = HomeFolder();
    if (home.empty()) return std::u16string();
    return Posix::Utf16FromUtf8(WithoutTrailingSlash(home) + "/.local/share");
}

}  // namespace KivPlatform
