#include "base/kiv_format_scanner.h"

#include <atomic>
#include <new>

#include "base/kiv_format.h"
#include "base/kiv_memory.h"
#include "base/kiv_number.h"

namespace {

bool IsBlank(char16_t character) noexcept { return character <= ' '; }

int32_t SkipBlanks(const KivString& text, int32_t index) noexcept {
    while (index < text.Length() && IsBlank(text[index])) ++index;
    return index;
}

// The literal character that ends a capture: the next one of the format after any further
// placeholders, with escaped braces resolved; 0 when the format ends there.
char16_t NextLiteral(const KivString& format, int32_t index) {
    KivFormat::Placeholder skipped;
    while (index < format.Length() && KivFormat::OpensPlaceholder(format, index))
        index = KivFormat::ReadPlaceholder(format, index + 1, skipped);
    if (index >= format.Length()) return 0;
    char16_t literal = format[index];
    return (literal == '{' || literal == '}') ? format[index + 1] : literal;
}

// Where the capture that starts at `start` ends: before the next literal of the format, or
// at the next blank when the format goes on with a blank or ends.
int32_t CaptureEnd(const KivString& text, int32_t start, char16_t literal) noexcept {
    int32_t end = start;
    if (IsBlank(literal)) {
        while (end < text.Length() && !IsBlank(text[end])) ++end;
        return end;
    }
    end = text.Find(literal, start);
    return end < 0 ? text.Length() : end;
}

}  // namespace

struct KivFormatScanner::Scanner {
    struct Capture {
        KivString text;
        uint8_t flags = 0;
    };

    std::atomic<uint32_t> references{1};
    Capture captures[KivFormat::kMaxArguments];
    KivString format;
    int32_t argumentCount = 0;
    int32_t nextArgument = 0;

    Scanner(const KivString& compiledFormat, const KivString& text) : format(compiledFormat) { Match(text); }

    void Match(const KivString& text) {
        int32_t f = 0;
        int32_t t = 0;
        while (f < format.Length() && t < text.Length()) {
            if (KivFormat::OpensPlaceholder(format, f)) {
                KivFormat::Placeholder placeholder;
                f = KivFormat::ReadPlaceholder(format, f + 1, placeholder);
                int32_t end = CaptureEnd(text, t, NextLiteral(format, f));
                Store(placeholder, text.Substring(t, end - t));
                t = end;
                continue;
            }
            char16_t expected = format[f++];
            if (IsBlank(expected)) {
                t = SkipBlanks(text, t);
                continue;
            }
            // "{{" stands for "{"; a "}" stands for the character after it.
            if (expected == '{' || expected == '}') {
                if (f >= format.Length()) break;
                expected = format[f++];
            }
            if (text[t] != expected) break;
            ++t;
        }
    }

    void Store(const KivFormat::Placeholder& placeholder, const KivString& captured) {
        int32_t argument = placeholder.argument;
        if (argument < 0 || argument >= KivFormat::kMaxArguments) return;
        captures[argument].text = captured;
        captures[argument].flags = placeholder.flags;
        if (argumentCount < argument + 1) argumentCount = argument + 1;
    }

    // The capture the next read converts, or null past the last one.
    const Capture* Next() noexcept { return nextArgument < argumentCount ? &captures[nextArgument++] : nullptr; }
};

KivFormatScanner::KivFormatScanner(const KivString& format, const KivString& text) {
    void* block = KivMemory::Allocate(sizeof(Scanner));
    try {
        scanner_ = new (block) Scanner(format, text);
    } catch (...) {
        KivMemory::Free(block);
        throw;
    }
}

KivFormatScanner::KivFormatScanner(const KivFormatScanner& other) noexcept : scanner_(other.scanner_) {
    scanner_->references.fetch_add(1, std::memory_order_relaxed);
}

KivFormatScanner& KivFormatScanner::operator=(const KivFormatScanner& other) noexcept {
    // Taking the new reference first keeps self-assignment safe.
    other.scanner_->references.fetch_add(1, std::memory_order_relaxed);
    Release(scanner_);
    scanner_ = other.scanner_;
    return *this;
}

KivFormatScanner::~KivFormatScanner() { Release(scanner_); }

void KivFormatScanner::Release(Scanner* scanner) noexcept {
    if (scanner->references.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    scanner->~Scanner();
    KivMemory::Free(scanner);
}

int32_t KivFormatScanner::GetArgumentCount() const noexcept { return scanner_->argumentCount; }

KivString KivFormatScanner::GetCapture(int32_t argument) const {
    if (argument < 0 || argument >= scanner_->argumentCount) return KivString();
    return scanner_->captures[argument].text;
}

bool KivFormatScanner::IsHexadecimal(int32_t argument) const noexcept {
    if (argument < 0 || argument >= scanner_->argumentCount) return false;
    return (scanner_->captures[argument].flags & KivFormat::kHexadecimal) != 0;
}

bool KivFormatScanner::Read(double& value) {
    const Scanner::Capture* capture = scanner_->Next();
    if (!capture) return false;
    int32_t consumed = 0;
    value = KivNumber::TextToDouble(capture->text, &consumed);
    return consumed > 0;
}

bool KivFormatScanner::Read(int64_t& value) {
    const Scanner::Capture* capture = scanner_->Next();
    if (!capture) return false;
    // The formatter writes blank fill and "+" signs ("{0 4}", "{2+}"): its own output must read back.
    KivString digits = capture->text.Trimmed();
    if (!digits.IsEmpty() && digits[0] == '+') digits = digits.Substring(1);
    int32_t radix = (capture->flags & KivFormat::kHexadecimal) ? 16 : 10;
    int32_t consumed = 0;
    value = KivNumber::TextToInteger(digits, radix, &consumed);
    return consumed > 0;
}

bool KivFormatScanner::Read(int32_t& value) {
    int64_t wide = value;
    bool held = Read(wide);
    value = static_cast<int32_t>(wide);
    return held;
}
