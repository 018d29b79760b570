#pragma once
#include <cstdint>

class KivWindowSystem;

// The window system the plug-in's editors share. A host loads the plug-in without any GUI
// running; the first editor that opens starts the process's native window system (and with
// it the invalidator and forced-event threads), the last one to close stops it, so a host
// with no editor open runs none of the GUI's threads. Where a window system already runs
// (a test, a tool, another part of the same process) the editors use it and leave it alone.
namespace KivEditorWindowSystem {

// Raises the window system's KivException when none can be started (no display).
KivWindowSystem& Acquire();
void Release();

}  // namespace KivEditorWindowSystem
