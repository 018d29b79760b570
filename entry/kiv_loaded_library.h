#pragma once
#include "base/kiv_string.h"
#include "platform/kiv_dynamic_library.h"

class KivModule;

// A companion library of the same framework that a module loaded: the library itself, the
// name it was loaded under and, once it answered KivLibraryDLLInitialize, its module.
struct KivLoadedLibrary {
    KivPlatform::DynamicLibrary* library = nullptr;
    KivString name;
    KivModule* module = nullptr;
};
