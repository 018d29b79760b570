#include "base/encoding/kiv_encoding.h"

namespace {

constexpr char16_t kLineFeed = 10;
constexpr char16_t kCarriageReturn = 13;

}  // namespace

namespace KivEncoding {

void Codec::ReadHeader(KivStream&) const {}

void Codec::WriteHeader(KivStream&) const {}

void Codec::WriteLine(TextWriter& writer, const KivString& text) const {
    WriteText(writer, text);
    WriteText(writer, KivString("\n"));
}

bool Codec::TakeLineCharacter(char16_t character, KivString& line) {
    if (character == kLineFeed) return true;
    // Files written on Windows end their lines with 13, 10: the 13 carries nothing.
    if (character != kCarriageReturn) line.Append(character);
    return false;
}

}  // namespace KivEncoding
