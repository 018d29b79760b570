#pragma once
#include <string>

namespace KivPlatform {

// The per-user folder for application data, without a trailing separator: the roaming
// application-data folder on Windows, $XDG_DATA_HOME or ~/.local/share elsewhere. Empty
// when it cannot be found.
std::u16string UserDataFolder();

}  // namespace KivPlatform
