#pragma once
#include "base/kiv_memory.h"
#include "base/kiv_string.h"

class KivModule;
class KivSynchronizer;

// What a parent library of the same framework hands a library it loads, fields in this
// order: its memory functions (five entries, copied), its shared lock, and its text for this
// library (the module path until Initialize finds the real one).
struct KivLibraryInitRecord {
    const KivMemoryFunctions* memoryFunctions;
    KivSynchronizer* sharedLock;
    const KivString* libraryName;
};

using KivLibraryInitializeFunction = KivModule* (*)(KivLibraryInitRecord* record);

namespace KivLibraryInitialization {

// The lock every library of the framework in this process shares: this library's own until a
// parent library hands over its lock.
KivSynchronizer& SharedLock() noexcept;
// A record of this library's memory functions and lock, for a library it loads.
KivLibraryInitRecord OwnRecord(const KivString& libraryName);
// Takes over the parent's memory functions and lock, then creates and initialises this
// library's module unless it exists. The module, or null on failure (traced).
KivModule* InitializeFromParent(const KivLibraryInitRecord* record) noexcept;

}  // namespace KivLibraryInitialization
