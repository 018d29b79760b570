#pragma once
#include <ostream>

#include "base/kiv_string.h"

// Lets GoogleTest show a KivString in failure messages.
inline void PrintTo(const KivString& text, std::ostream* out) { *out << '"' << text.ToUTF8() << '"'; }
