#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// Conversions between numbers and text that every display and message relies on. They never
// consult the C locale: a host that switches the process to a comma decimal separator must not
// change what the plug-in shows or how it reads its own settings.
namespace KivNumber {

// Room for any integer text: a 64-bit magnitude in radix 2 plus sign and terminator.
constexpr int32_t kIntegerBufferSize = 80;
// The fill never makes a text longer than this.
constexpr int32_t kMaxIntegerWidth = 62;
// Room for any double text (fixed notation of 1e308 with 99 decimals).
constexpr int32_t kDoubleBufferSize = 448;

// Writes `value` in `radix` (2..16, upper-case digits) into `out`, left-filled with `fill` up to
// `width` digits; a negative value gets "-" in front of the fill. Returns the character count;
// `out` is zero-terminated and needs kIntegerBufferSize bytes.
int32_t WriteInteger(char* out, int64_t value, int32_t radix = 10, int32_t width = 0, char fill = ' ') noexcept;
KivString IntegerToText(int64_t value, int32_t radix = 10, int32_t width = 0, char fill = ' ');

// Writes `value` with `decimals` decimals in fixed notation, or from 10 decimals on with that
// many significant digits in general notation. Returns the character count; `out` is
// zero-terminated and needs kDoubleBufferSize bytes.
int32_t WriteDouble(char* out, double value, int32_t decimals) noexcept;
KivString DoubleToText(double value, int32_t decimals);
// For stored settings: `digits` significant digits (10 or more) when they read back as the very
// same double, else the 17 that always do, so that a restored value is bit for bit the saved
// one while round values stay short ("0.25", not "0.25000000000000000").
KivString DoubleToExactText(double value, int32_t digits);

// Reads an optional "-" and the digits below `radix` that follow; the first other character ends
// the number. `consumed` receives the characters read, sign included, or 0 when no digit follows.
int64_t TextToInteger(const KivString& text, int32_t radix = 10, int32_t* consumed = nullptr) noexcept;

// Reads the leading decimal number of `text` (blanks, sign, digits with a decimal point, an
// exponent) and ignores whatever follows it, such as a unit; a text without one reads as 0.
// `consumed` receives the index just after the number, or 0 when there is none.
double TextToDouble(const KivString& text, int32_t* consumed = nullptr);

}  // namespace KivNumber
