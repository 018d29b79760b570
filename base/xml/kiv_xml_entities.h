#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// The six character entities of the XML dialect: "amp", "lt", "gt", "apos", "quot" and
// "#10" (the line feed), always tried in that order.
namespace KivXMLEntities {

// Appends `count` units with every known entity ("&", name, ";"; the name matched folded)
// replaced by its character. An "&" that starts no known entity stays as it is.
void AppendDecoded(const char16_t* units, int32_t count, KivString& target);
KivString Decode(const KivString& text);

// Appends `text` with each of the six characters replaced by its entity. The ampersand is
// replaced in the same single pass, so nothing is escaped twice.
void AppendEscaped(const KivString& text, KivString& target);
KivString Escape(const KivString& text);

}  // namespace KivXMLEntities
