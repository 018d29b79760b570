#pragma once
#include <cstdint>

#include "base/kiv_object.h"

namespace KivCharFilter {

// Bits of a filter's class mask: which kinds of character it lets through.
enum ClassBits : uint8_t {
    kLetters = 1,
    kDigits = 2,
    kDecimalPoint = 4,
    kHexadecimalLetters = 8,
    kOtherCharacters = 16
};

// Decides whether an edit field takes a typed character. The order of the virtual
// operations is part of the interface.
class Interface : public KivObject {
public:
    // Whole 16-bit characters are compared, so that no character outside ASCII passes for
    // the ASCII character that shares its low byte.
    virtual bool Accept(char16_t character) const = 0;
    virtual uint8_t GetClassMask() const = 0;
};

}  // namespace KivCharFilter
