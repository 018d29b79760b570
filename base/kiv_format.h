#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// A compiled brace format string ("{0} ({1})", "{+0.2} dB", "{0x;02}"). Values are supplied
// in argument order; each is converted by its kind and inserted in place into the one text
// buffer, which at the end is the result. Copies share one formatter.
class KivFormat {
public:
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

private:
    struct Formatter;
    Formatter* formatter_;
};
