#pragma once

class KivModule;

// The process-wide module of this library and how it comes to life: created by the first
// instance under the start-up mutex, kept until the library is unloaded.
namespace KivModuleStartup {

// The module, or null before start-up and after unloading.
KivModule* CurrentModule() noexcept;
// The module of the process's first framework library to start (this one's unless a parent
// set its own first).
KivModule* MainModule() noexcept;
// First step of every instance creation: under the start-up mutex, creates the module,
// loads the built-in resources and initialises it unless it exists. Raises "Could not
// acquire mutex." when the mutex fails.
KivModule& EnsureModule();
// Constructs the module, makes it the current one and gives it the recorded instance handle
// (the executable's when none was recorded). Null on failure (traced).
KivModule* CreateModuleInstance() noexcept;
// Destroys the module (library unload); an exception from its destructor is traced.
void DestroyModule() noexcept;

}  // namespace KivModuleStartup
