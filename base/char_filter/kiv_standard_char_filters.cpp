#include "base/char_filter/kiv_standard_char_filters.h"

namespace {

bool IsLetter(char16_t character) noexcept {
    return (character >= u'a' && character <= u'z') || (character >= u'A' && character <= u'Z');
}

bool IsDigit(char16_t character) noexcept { return character >= u'0' && character <= u'9'; }

bool IsHexadecimalLetter(char16_t character) noexcept {
    return (character >= u'a' && character <= u'f') || (character >= u'A' && character <= u'F');
}

}  // namespace

namespace KivCharFilter {

bool AllFilter::Accept(char16_t) const { return true; }

bool LettersFilter::Accept(char16_t character) const { return IsLetter(character); }

bool AlphaStrictFilter::Accept(char16_t character) const { return IsLetter(character) || IsDigit(character); }

bool AlphaFilter::Accept(char16_t character) const {
    return IsLetter(character) || IsDigit(character) || character == u'-' || character == u'.' || character == u' ';
}

bool IntegerFilter::Accept(char16_t character) const { return IsDigit(character) || character == u'-'; }

bool FloatFilter::Accept(char16_t character) const {
    return IsDigit(character) || character == u'-' || character == u'.';
}

bool IntegerHexaFilter::Accept(char16_t character) const {
    return IsDigit(character) || IsHexadecimalLetter(character);
}

}  // namespace KivCharFilter
