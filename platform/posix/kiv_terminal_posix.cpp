#include <unistd.h>

#include "platform/kiv_terminal.h"

namespace KivPlatform {

bool IsTerminal(std::FILE* stream) noexcept { return stream && isatty(fileno(stream)) == 1; }

}  // namespace KivPlatform
