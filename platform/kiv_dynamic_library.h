#pragma once
#include <string>
#include <string_view>

namespace KivPlatform {

// A shared library (a .so, a .dll) loaded into the process, and the exported symbols in it.
// Unloads on destruction. Failures leave a readable UTF-8 text naming the file or symbol and
// the system's reason, because a plug-in host's user can do nothing with a bare code.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary() { Unload(); }
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

    // Loads the library named by a UTF-8 or UTF-16 path, unloading the previous one first.
    // False on failure, with ErrorText() saying why.
    bool Load(std::string_view utf8Path);
    bool Load(std::u16string_view utf16Path);
    void Unload();
    bool IsLoaded() const { return handle_ != nullptr; }

    // The address of the exported `name`; null (with ErrorText()) when it is not there.
    void* Symbol(const char* name);
    const std::string& ErrorText() const { return error_; }

private:
    void* handle_ = nullptr;
    std::string error_;
};

inline DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(other.handle_), error_(std::move(other.error_)) {
    other.handle_ = nullptr;
}

inline DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = other.handle_;
        error_ = std::move(other.error_);
        other.handle_ = nullptr;
    }
    return *this;
}

}  // namespace KivPlatform
