#include <windows.h>

#include <vector>

#include "platform/kiv_module_path.h"
#include "platform/win32/kiv_windows_text.h"

namespace KivPlatform {
namespace {

HMODULE ModuleContaining(const void* address) {
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    return GetModuleHandleExW(flags, static_cast<LPCWSTR>(address), &module) ? module : nullptr;
}

}  // namespace

std::u16string ModulePathOf(const void* address) {
    HMODULE module = ModuleContaining(address);
    if (!module) return std::u16string();
    // Long paths exceed MAX_PATH; the call truncates silently, so grow until it fits.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = GetModuleFileNameW(module, buffer.data(), size);
        if (length == 0) return std::u16string();
        if (length < size) return Win32::FromWide(buffer.data(), length);
    }
    return std::u16string();
}

}  // namespace KivPlatform
