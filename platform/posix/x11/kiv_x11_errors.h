#pragma once
#include <cstdint>

#include <X11/Xlib.h>

// Keeps the errors of the framework's own X connections away from the process. Xlib hands
// protocol errors to one process-wide handler, whose default ends the process: a BadWindow
// for an editor whose parent the host destroyed first would end the host. Errors on a
// contained connection go to a hook of that connection alone and are counted instead; the
// host's connections keep whatever handler the host chose. A hook per connection also never
// leaves a chained handler pointing into a library that has been unloaded.
namespace KivPlatform::X11Errors {

// Call once per connection, right after opening it. A lost server (an I/O error) then
// leaves the connection dead instead of ending the process.
void Contain(Display* display);
// Errors contained on every connection so far.
uint64_t Count();

}  // namespace KivPlatform::X11Errors
