#include <dlfcn.h>

#include <string>

#include "platform/kiv_dynamic_library.h"
#include "platform/posix/kiv_posix_text.h"

namespace KivPlatform {
namespace {

std::string LastLoaderError() {
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}

}  // namespace

bool DynamicLibrary::Load(std::string_view utf8Path) {
    Unload();
    const std::string path(utf8Path);
    // Each plug-in keeps its own symbols (RTLD_LOCAL): two plug-ins built on the same
    // framework must not bind to each other's copies.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    error_ = handle_ ? std::string() : "Could not load library \"" + path + "\": " + LastLoaderError();
    return handle_ != nullptr;
}

bool DynamicLibrary::Load(std::u16string_view utf16Path) { return Load(Posix::Utf8FromUtf16(utf16Path)); }

void DynamicLibrary::Unload() {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
}

void* DynamicLibrary::Symbol(const char* name) {
    if (!handle_) {
        error_ = std::string("Could not find symbol \"") + name + "\": no library is loaded";
        return nullptr;
    }
    dlerror();  // a null symbol value is legal, so only a fresh error text tells failure
    void* address = dlsym(handle_, name);
    const char* reason = dlerror();
    error_ = reason ? std::string("Could not find symbol \"") + name + "\": " + reason : std::string();
    return reason ? nullptr : address;
}

}  // namespace KivPlatform
