#include "threads/kiv_unload_flag.h"

#include <atomic>

namespace {
std::atomic<bool> gUnloading{false};
}

void KivSetModuleUnloading(bool unloading) noexcept { gUnloading.store(unloading); }

bool KivIsModuleUnloading() noexcept { return gUnloading.load(); }
