#include <windows.h>

#include <string>

#include "platform/kiv_dynamic_library.h"

namespace KivPlatform {
namespace {

std::wstring WideFromUtf8(std::string_view utf8) {
    if (utf8.empty()) return std::wstring();
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

// The system's own text for the last error, without its trailing line break.
std::string LastSystemError() {
    const DWORD code = GetLastError();
    wchar_t buffer[512];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        0, buffer, sizeof(buffer) / sizeof(buffer[0]), nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return (text.empty() ? std::string("unknown reason") : Utf8FromWide(text)) + " (" + std::to_string(code) + ")";
}

}  // namespace

bool DynamicLibrary::Load(std::u16string_view utf16Path) {
    Unload();
    const std::wstring path(utf16Path.begin(), utf16Path.end());
    handle_ = LoadLibraryW(path.c_str());
    error_ = handle_ ? std::string()
                     : "Could not load library \"" + Utf8FromWide(path) + "\": " + LastSystemError();
    return handle_ != nullptr;
}

bool DynamicLibrary::Load(std::string_view utf8Path) {
    const std::wstring wide = WideFromUtf8(utf8Path);
    return Load(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

void DynamicLibrary::Unload() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

void* DynamicLibrary::Symbol(const char* name) {
    if (!handle_) {
        error_ = std::string("Could not find symbol \"") + name + "\": no library is loaded";
        return nullptr;
    }
    // Through void*: a FARPROC is a function pointer type of its own (-Wcast-function-type).
    void* address = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
    error_ = address ? std::string() : std::string("Could not find symbol \"") + name + "\": " + LastSystemError();
    return address;
}

}  // namespace KivPlatform
