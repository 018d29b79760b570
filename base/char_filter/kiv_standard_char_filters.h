#pragma once
#include "base/char_filter/kiv_char_filter.h"

// The framework's standard character filters for edit fields.
namespace KivCharFilter {

class AllFilter final : public Interface {
public:
    bool Accept(char16_t character) const override;
    uint8_t GetClassMask() const override { return kLetters | kDigits | kDecimalPoint | kOtherCharacters; }
};

// a-z, A-Z.
class LettersFilter final : public Interface {
public:
    bool Accept(char16_t character) const override;
    uint8_t GetClassMask() const override { return kLetters; }
};

// a-z, A-Z, 0-9.
class AlphaStrictFilter final : public Interface {
public:
    bool Accept(char16_t character) const override;
    uint8_t GetClassMask() const override { return kLetters | kDigits; }
};

// a-z, A-Z, 0-9, "-", "." and space.
class AlphaFilter final : public Interface {
public:
    bool Accept(char16_t character) const override;
    uint8_t GetClassMask() const override { return kLetters | kDigits | kDecimalPoint; }
};

// 0-9 and "-".
class IntegerFilter final : public Interface {
public:
    bool Accept(char16_t character) const override;
    uint8_t GetClassMask() const override { return kDigits; }
};

// 0-9, "-" and ".".
class FloatFilter final : public Interface {
public:
    bool Accept(char16_t character) const override;
    uint8_t GetClassMask() const override { return kDigits | kDecimalPoint; }
};

// 0-9, a-f, A-F.
class IntegerHexaFilter final : public Interface {
public:
    bool Accept(char16_t character) const override;
    uint8_t GetClassMask() const override { return kDigits | kHexadecimalLetters; }
};

}  // namespace KivCharFilter
