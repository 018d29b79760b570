#pragma once
#include <cstdio>

namespace KivPlatform {

// Whether `stream` writes to an interactive terminal (progress displays only make sense there).
bool IsTerminal(std::FILE* stream) noexcept;

}  // namespace KivPlatform
