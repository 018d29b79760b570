#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "platform/kiv_module_path.h"
#include "platform/posix/kiv_posix_text.h"

namespace KivPlatform {
namespace {

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

// The loader names the main program as it was started (possibly relative or empty).
std::string AbsolutePath(const char* name) {
    if (!name || !*name) return ExecutablePath();
    if (*name == '/') return name;
    char resolved[PATH_MAX];
    return realpath(name, resolved) ? std::string(resolved) : ExecutablePath();
}

}  // namespace

std::u16string ModulePathOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0) return std::u16string();
    return Posix::Utf16FromUtf8(AbsolutePath(info.dli_fname));
}

}  // namespace KivPlatform
