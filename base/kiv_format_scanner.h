#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// Runs a brace format backwards: matches a typed text against the format and captures the text
// that stands at each argument placeholder, so that a value displayed as "{+0.2} dB" can be
// read back from "-3.5 dB". A mismatch is no error: scanning stops and keeps what it captured.
// Copies share one scanner, including its read position.
class KivFormatScanner {
public:
    // Raises "Formatting string ends in an argument specification." for an unfinished format.
    KivFormatScanner(const KivString& format, const KivString& text);
    static KivFormatScanner Scan(const KivString& format, const KivString& text) {
        return KivFormatScanner(format, text);
    }
    KivFormatScanner(const KivFormatScanner& other) noexcept;
    KivFormatScanner& operator=(const KivFormatScanner& other) noexcept;
    ~KivFormatScanner();

    // Highest captured argument number plus 1.
    int32_t GetArgumentCount() const noexcept;
    // The captured text of `argument`; empty when nothing was captured for it.
    KivString GetCapture(int32_t argument) const;
    bool IsHexadecimal(int32_t argument) const noexcept;

    // Each read converts the next captured argument and answers whether it held a number; past
    // the last captured argument `value` stays unchanged, otherwise a capture without a number
    // reads as 0. Integers captured at an "x" placeholder are read in base 16.
    bool Read(double& value);
    bool Read(int64_t& value);
    bool Read(int32_t& value);

private:
    struct Scanner;
    static void Release(Scanner* scanner) noexcept;
    Scanner* scanner_;
};
