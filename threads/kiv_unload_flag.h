#pragma once

// Whether the library is being unloaded. The unload notification sets it: from then on the
// loader lock is held and no new thread could run, so KivThread refuses to start one. No
// thread of the library can be running by then, since every thread keeps the library loaded
// until its very end.
void KivSetModuleUnloading(bool unloading) noexcept;
bool KivIsModuleUnloading() noexcept;
