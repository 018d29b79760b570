#pragma once
#include <vector>

#include "base/kiv_string.h"

// Lists of texts written into one attribute of a GUI description ("Manual|Automatic").
namespace KivTextItems {
// The parts of `text` between the separators, each trimmed; empty text gives no parts.
std::vector<KivString> Split(const KivString& text, char16_t separator);
}  // namespace KivTextItems
