#pragma once

class KivModule;

// The process-wide module of this library and how it comes to life: created by the first
// instance under the start-up mutex, destroyed when the last instance closes or the host
// calls the module exit, whichever is later.
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
// Destroys the module; an exception from its destructor is traced.
void DestroyModule() noexcept;

// Instances made for a host count as users of the module: the first one creates it (as
// EnsureModule), the close of the last one destroys it again, on the host's thread. The
// unload notification runs under the system's loader lock, where little may be done
// safely, so the module is gone before the host frees the library.
void AcquireForInstance();
void ReleaseForInstance() noexcept;
// The host's module exit (ExitDll, ModuleExit): destroys the module unless an instance
// still uses it (a host that leaked one keeps it, and the library, alive).
void ReleaseIfUnused() noexcept;

}  // namespace KivModuleStartup
