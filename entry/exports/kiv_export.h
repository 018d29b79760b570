#pragma once

// Marks one of the library's few public entry points: everything else is hidden, so that
// two plug-ins of this framework loaded into one host never bind to each other's code.
#if defined(_WIN32)
#define KIV_EXPORT extern "C" __declspec(dllexport)
#else
#define KIV_EXPORT extern "C" __attribute__((visibility("default")))
#endif
