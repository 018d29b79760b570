#pragma once
#include "base/kiv_string.h"

// The diagnostic trace. A release build discards what it is given; tests and tools may
// install a sink to see it.
namespace KivTrace {

using Sink = void (*)(const KivString& text);

// Installs `sink` (null restores discarding) and returns the previous one.
Sink SetSink(Sink sink) noexcept;
void Write(const KivString& text) noexcept;
// Traces "SYSTEM EXCEPTION! {0}" with `qualifiedName` in place of {0}.
void SystemException(const char* qualifiedName) noexcept;

}  // namespace KivTrace
