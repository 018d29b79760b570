#pragma once

// Whether the library is being unloaded. The process-detach handler sets it: from then on
// the loader lock is held, a thread that ends would wait for it, and so joining a worker
// thread would dead-lock; KivThread terminates its thread instead of waiting.
void KivSetModuleUnloading(bool unloading) noexcept;
bool KivIsModuleUnloading() noexcept;
