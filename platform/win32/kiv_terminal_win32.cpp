#include <io.h>

#include "platform/kiv_terminal.h"

namespace KivPlatform {

bool IsTerminal(std::FILE* stream) noexcept { return stream && _isatty(_fileno(stream)) != 0; }

}  // namespace KivPlatform
