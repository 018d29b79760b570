#pragma once

class KivModule;

// Reads the built-in resource block, when the library has one, into the module's resource
// set (cleared first); the data is used in place. Failures are traced, never raised.
void KivLoadGlobalResources(KivModule& module) noexcept;
