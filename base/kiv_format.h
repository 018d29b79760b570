#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// A compiled brace format string ("{0} ({1})", "{+0.2} dB", "{0x;02}"). Values are supplied
// in argument order; each is converted by its kind and inserted in place into the one text
// buffer, which at the end is the result. Copies share one formatter.
class KivFormat {
public:
    static constexpr int32_t kMaxArguments = 32;
    static constexpr uint8_t kHexadecimal = 1;
    static constexpr uint8_t kExplicitPlus = 2;

    // What one "{...}" asks of its argument. The scanner reads the same grammar.
    struct Placeholder {
        int32_t argument = 0;  // meaningful in 0..kMaxArguments-1; others receive nothing
        uint8_t flags = 0;
        int8_t width = 0;      // minimum digit count of integers
        char pad = ' ';
        int8_t precision = 4;  // decimals of doubles
    };

    // Compiles `format`; raises "Formatting string ends in an argument specification."
    explicit KivFormat(const KivString& format);
    KivFormat(const KivFormat& other) noexcept;
    KivFormat& operator=(const KivFormat& other) noexcept;
    ~KivFormat();

    KivFormat& Argument(double value);
    KivFormat& Argument(int64_t value);
    KivFormat& Argument(int32_t value) { return Argument(static_cast<int64_t>(value)); }
    KivFormat& Argument(uint32_t value) { return Argument(static_cast<int64_t>(value)); }
    KivFormat& Argument(const KivString& text);
    KivFormat& Argument(const char* text);  // null counts as empty

    KivString Result() const;

    // Reads the placeholder that starts just after its opening "{" at `index`; returns the
    // index after its closing "}". Raises the unfinished-placeholder exception at the end.
    static int32_t ReadPlaceholder(const KivString& format, int32_t index, Placeholder& placeholder);
    // Whether the "{" at `index` opens a placeholder rather than escaping a brace ("{{").
    static bool OpensPlaceholder(const KivString& format, int32_t index) noexcept {
        return format[index] == '{' && format[index + 1] != '{';
    }

private:
    struct Formatter;
    static void Release(Formatter* formatter) noexcept;
    Formatter* formatter_;
};
