#pragma once
#include "platform/kiv_clipboard.h"

// A clipboard inside the process, for where no window system's clipboard can be reached (no
// display): copy and paste still work between instances of the plug-in in one host.
namespace KivPlatform::ProcessClipboard {
KivClipboard::Result Put(const char16_t* format, const uint8_t* data, int32_t size);
KivClipboard::Result Get(const char16_t* format, std::vector<uint8_t>& data);
}  // namespace KivPlatform::ProcessClipboard
