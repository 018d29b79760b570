#pragma once
#include "base/kiv_string.h"

// Two optional texts joined by `separator`, either alone when the other is empty: qualifiers
// and sections read "Band 1 - Compressor", "Band 1" or "Compressor".
inline KivString KivJoinNonEmpty(const KivString& first, const KivString& second, const KivString& separator) {
    if (first.IsEmpty()) return second;
    if (second.IsEmpty()) return first;
    return first + separator + second;
}
