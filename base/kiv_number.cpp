#include "base/kiv_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/kiv_memory.h"

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
// Decimal counts from here on switch to significant digits in general notation.
constexpr int32_t kFirstGeneralPrecision = 10;
// A number text longer than this is copied into an allocated block instead.
constexpr int32_t kStackNumberSize = 128;

int32_t ClampRadix(int32_t radix) noexcept { return radix < 2 ? 2 : (radix > 16 ? 16 : radix); }

int32_t DigitValue(char16_t character) noexcept {
    if (character >= '0' && character <= '9') return character - '0';
    if (character >= 'A' && character <= 'F') return character - 'A' + 10;
    if (character >= 'a' && character <= 'f') return character - 'a' + 10;
    return 99;
}

bool IsDecimalDigit(char16_t character) noexcept { return character >= '0' && character <= '9'; }

int32_t SkipDecimalDigits(const KivString& text, int32_t index) noexcept {
    while (index < text.Length() && IsDecimalDigit(text[index])) ++index;
    return index;
}

// The extent of the leading number: [start, end) without blanks; end == start when none.
struct NumberExtent {
    int32_t start;
    int32_t end;
};

// An exponent without digits ("5e", "5e+") is not part of the number.
int32_t SkipExponent(const KivString& text, int32_t index) noexcept {
    if (index >= text.Length() || (text[index] != 'e' && text[index] != 'E')) return index;
    int32_t digits = index + 1;
    if (digits < text.Length() && (text[digits] == '+' || text[digits] == '-')) ++digits;
    int32_t end = SkipDecimalDigits(text, digits);
    return end > digits ? end : index;
}

NumberExtent FindLeadingNumber(const KivString& text) noexcept {
    int32_t start = 0;
    while (start < text.Length() && text[start] <= ' ') ++start;
    int32_t index = start;
    if (index < text.Length() && (text[index] == '+' || text[index] == '-')) ++index;
    int32_t integerEnd = SkipDecimalDigits(text, index);
    int32_t mantissaEnd = integerEnd;
    int32_t fractionDigits = 0;
    if (integerEnd < text.Length() && text[integerEnd] == '.') {
        mantissaEnd = SkipDecimalDigits(text, integerEnd + 1);
        fractionDigits = mantissaEnd - integerEnd - 1;
    }
    if (integerEnd == index && fractionDigits == 0) return {start, start};
    return {start, SkipExponent(text, mantissaEnd)};
}

// What strtod would give where from_chars reports a result out of range: infinity for a huge
// magnitude, zero for a tiny one, with the number's sign. Only the decimal scale matters.
double OutOfRangeValue(const char* number) noexcept {
    bool negative = *number == '-';
    const char* p = number + (negative ? 1 : 0);
    int64_t integerDigits = 0;
    int64_t leadingFractionZeros = 0;
    bool significant = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (*p != '0') significant = true;
        if (significant) ++integerDigits;
    }
    if (*p == '.') {
        for (++p; *p >= '0' && *p <= '9'; ++p) {
            if (!significant && *p == '0') ++leadingFractionZeros;
            else significant = true;
        }
    }
    int64_t exponent = 0;
    if (*p == 'e' || *p == 'E') {
        ++p;
        bool negativeExponent = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        for (; *p >= '0' && *p <= '9' && exponent < 100000000; ++p) exponent = exponent * 10 + (*p - '0');
        if (negativeExponent) exponent = -exponent;
    }
    int64_t scale = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
    double magnitude = significant && scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

double ParseNumberCharacters(const char* number, int32_t count) noexcept {
    double value = 0.0;
    auto result = std::from_chars(number, number + count, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) return OutOfRangeValue(number);
    return value;
}

}  // namespace

namespace KivNumber {

int32_t WriteInteger(char* out, int64_t value, int32_t radix, int32_t width, char fill) noexcept {
    radix = ClampRadix(radix);
    // The magnitude as unsigned, so that the most negative value keeps its digits.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char reversed[kIntegerBufferSize];
    int32_t digitCount = 0;
    do {
        reversed[digitCount++] = kDigits[magnitude % static_cast<uint64_t>(radix)];
        magnitude /= static_cast<uint64_t>(radix);
    } while (magnitude != 0);
    int32_t count = 0;
    if (value < 0) out[count++] = '-';
    int32_t widest = kMaxIntegerWidth - count;
    for (int32_t filled = digitCount; filled < width && filled < widest; ++filled) out[count++] = fill;
    while (digitCount > 0) out[count++] = reversed[--digitCount];
    out[count] = 0;
    return count;
}

KivString IntegerToText(int64_t value, int32_t radix, int32_t width, char fill) {
    char buffer[kIntegerBufferSize];
    int32_t count = WriteInteger(buffer, value, radix, width, fill);
    return KivString::CopyBytes(buffer, count);
}

int32_t WriteDouble(char* out, double value, int32_t decimals) noexcept {
    if (decimals < 0) decimals = 0;
    if (decimals > 99) decimals = 99;
    std::chars_format notation =
        decimals < kFirstGeneralPrecision ? std::chars_format::fixed : std::chars_format::general;
    auto result = std::to_chars(out, out + kDoubleBufferSize - 1, value, notation, decimals);
    int32_t count = result.ec == std::errc() ? static_cast<int32_t>(result.ptr - out) : 0;
    out[count] = 0;
    return count;
}

KivString DoubleToText(double value, int32_t decimals) {
    char buffer[kDoubleBufferSize];
    int32_t count = WriteDouble(buffer, value, decimals);
    return KivString::CopyBytes(buffer, count);
}

KivString DoubleToExactText(double value, int32_t digits) {
    char buffer[kDoubleBufferSize];
    int32_t count = WriteDouble(buffer, value, std::max(digits, kFirstGeneralPrecision));
    double read = 0.0;
    const auto parsed = std::from_chars(buffer, buffer + count, read);
    if (std::isfinite(value) && (parsed.ec != std::errc() || read != value)) count = WriteDouble(buffer, value, 17);
    return KivString::CopyBytes(buffer, count);
}

int64_t TextToInteger(const KivString& text, int32_t radix, int32_t* consumed) noexcept {
    radix = ClampRadix(radix);
    int32_t index = 0;
    bool negative = text.Length() > 0 && text[0] == '-';
    if (negative) index = 1;
    int32_t firstDigit = index;
    // Unsigned arithmetic: an overlong number wraps instead of being undefined.
    uint64_t magnitude = 0;
    for (; index < text.Length() && DigitValue(text[index]) < radix; ++index)
        magnitude = magnitude * static_cast<uint64_t>(radix) + static_cast<uint64_t>(DigitValue(text[index]));
    if (consumed) *consumed = index > firstDigit ? index : 0;
    return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
}

double TextToDouble(const KivString& text, int32_t* consumed) {
    NumberExtent extent = FindLeadingNumber(text);
    if (consumed) *consumed = extent.end > extent.start ? extent.end : 0;
    if (extent.end == extent.start) return 0.0;
    // from_chars refuses an explicit plus sign.
    if (text[extent.start] == '+') ++extent.start;
    int32_t count = extent.end - extent.start;
    char stackNumber[kStackNumberSize];
    char* number = count < kStackNumberSize ? stackNumber : static_cast<char*>(KivMemory::Allocate(count + 1));
    for (int32_t i = 0; i < count; ++i) number[i] = static_cast<char>(text[extent.start + i]);
    number[count] = 0;
    double value = ParseNumberCharacters(number, count);
    if (number != stackNumber) KivMemory::Free(number);
    return value;
}

}  // namespace KivNumber
