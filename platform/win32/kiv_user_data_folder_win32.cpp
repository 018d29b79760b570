#include <windows.h>
#include <shlobj.h>

#include <cwchar>

#include "platform/kiv_user_data_folder.h"
#include "platform/win32/kiv_windows_text.h"

namespace KivPlatform {

std::u16string UserDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return std::u16string();
    size_t length = wcslen(path);
    while (length > 3 && (path[length - 1] == L'\\' || path[length - 1] == L'/')) --length;
    return Win32::FromWide(path, length);
}

}  // namespace KivPlatform
