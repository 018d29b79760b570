#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/kiv_clipboard.h"

// The X11 CLIPBOARD selection, with one target per clipboard format named like the format.
// Owning a selection means answering other clients' requests for as long as one owns it,
// so a private connection with a hidden window and a service thread does that, whichever
// thread copied. Any thread may call in.
namespace KivPlatform::X11Selection {

// Connects on first use ($DISPLAY); false when no X server can be reached, and then
// until Stop.
bool Available();
// Takes the selection with `size` bytes under `target`.
KivClipboard::Result Put(const std::string& target, const uint8_t* data, int32_t size);
// Asks the selection's owner for `target` and waits a bounded time for the answer.
// Transfers too large for one property (INCR) are refused with kAccessError.
KivClipboard::Result Get(const std::string& target, std::vector<uint8_t>& data);
// Lets go of the selection, ends the service thread and closes the connection; the next
// call connects again. Runs by itself when the library is unloaded.
void Stop();

}  // namespace KivPlatform::X11Selection
