#include "base/kiv_format.h"

#include <atomic>
#include <cstring>
#include <new>

#include "base/kiv_exception.h"
#include "base/kiv_memory.h"
#include "base/kiv_number.h"

namespace {

// Only strictly positive values get a "+": a zero dB reading shows as "0.00", not "+0.00".
constexpr double kPositiveThreshold = 1e-20;

bool IsDigit(char16_t character) noexcept { return character >= '0' && character <= '9'; }

// Reads up to `maximum` decimal digits at `index`; a missing number counts as 0.
int32_t ReadDigits(const KivString& format, int32_t& index, int32_t maximum) noexcept {
    int32_t value = 0;
    for (int32_t read = 0; read < maximum && index < format.Length() && IsDigit(format[index]); ++read)
        value = value * 10 + (format[index++] - '0');
    return value;
}

// Argument numbers take at most three characters, the sign included.
int32_t ReadArgumentNumber(const KivString& format, int32_t& index) noexcept {
    bool negative = index < format.Length() && format[index] == '-';
    if (negative) ++index;
    int32_t value = ReadDigits(format, index, negative ? 2 : 3);
    return negative ? -value : value;
}

[[noreturn]] void RaiseUnfinishedPlaceholder() {
    throw KivException("Formatting string ends in an argument specification.", KivException::kInvalidArgument);
}

}  // namespace

struct KivFormat::Formatter {
    struct Slot {
        Placeholder placeholder;
        int32_t position = -1;
        uint8_t order = 0;  // how many other slots stood at this position before this one
    };

    std::atomic<uint32_t> references{1};
    Slot slots[kMaxArguments];
    KivString text;
    int32_t argumentCount = 0;
    int32_t nextArgument = 0;

    explicit Formatter(const KivString& format) { Compile(format); }

    void Compile(const KivString& format) {
        text.Reserve(format.Length());
        int32_t index = 0;
        while (index < format.Length()) {
            char16_t character = format[index];
            if (OpensPlaceholder(format, index)) {
                index = PlacePlaceholder(format, index + 1);
                continue;
            }
            // "{{" gives "{"; a "}" lets the character after it through unread ("}}" gives "}").
            if (character == '{' || character == '}') ++index;
            if (index < format.Length()) text.Append(format[index++]);
        }
    }

    int32_t PlacePlaceholder(const KivString& format, int32_t index) {
        Placeholder placeholder;
        index = ReadPlaceholder(format, index, placeholder);
        int32_t argument = placeholder.argument;
        if (argument < 0 || argument >= kMaxArguments) return index;
        Slot& slot = slots[argument];
        slot.placeholder = placeholder;
        slot.position = text.Length();
        slot.order = 0;
        for (int32_t other = 0; other < kMaxArguments; ++other)
            if (other != argument && slots[other].position == slot.position) ++slot.order;
        if (argumentCount < argument + 1) argumentCount = argument + 1;
        return index;
    }

    // The slot that the next supplied value fills, or null when that value is to be ignored.
    const Slot* NextSlot() const noexcept {
        if (nextArgument >= argumentCount || slots[nextArgument].position < 0) return nullptr;
        return &slots[nextArgument];
    }

    void InsertNext(const KivString& value) {
        if (const Slot* slot = NextSlot()) {
            int32_t position = InsertionPoint(*slot);
            text.Insert(position, value);
            MoveLaterSlots(*slot, position, value.Length());
        }
        ++nextArgument;
    }

    // Converted numbers arrive as bytes in a stack buffer: they are widened straight into the
    // text, which costs no allocation once the text has grown to its final size.
    void InsertNext(const char* bytes, int32_t count) {
        if (const Slot* slot = NextSlot()) {
            int32_t position = InsertionPoint(*slot);
            int32_t old = text.Length();
            text.SetLength(old + count);
            char16_t* units = text.MutableUnits();
            std::memmove(units + position + count, units + position, static_cast<size_t>(old - position) * 2);
            for (int32_t i = 0; i < count; ++i)
                units[position + i] = static_cast<char16_t>(static_cast<int16_t>(static_cast<int8_t>(bytes[i])));
            MoveLaterSlots(*slot, position, count);
        }
        ++nextArgument;
    }

    int32_t InsertionPoint(const Slot& slot) const noexcept {
        return slot.position < text.Length() ? slot.position : text.Length();
    }

    void MoveLaterSlots(const Slot& filled, int32_t position, int32_t count) noexcept {
        for (int32_t later = nextArgument + 1; later < argumentCount; ++later) {
            Slot& other = slots[later];
            if (other.position > position || (other.position == position && other.order > filled.order))
                other.position += count;
        }
    }
};

int32_t KivFormat::ReadPlaceholder(const KivString& format, int32_t index, Placeholder& placeholder) {
    placeholder.argument = ReadArgumentNumber(format, index);
    for (;;) {
        if (index >= format.Length()) RaiseUnfinishedPlaceholder();
        switch (format[index++]) {
            case '}': return index;
            case '+': placeholder.flags |= kExplicitPlus; break;
            case 'x': placeholder.flags |= kHexadecimal; break;
            case '.': placeholder.precision = static_cast<int8_t>(ReadDigits(format, index, 2)); break;
            case '0':
                placeholder.pad = '0';
                placeholder.width = static_cast<int8_t>(ReadDigits(format, index, 2));
                break;
            case ' ':
                placeholder.pad = ' ';
                placeholder.width = static_cast<int8_t>(ReadDigits(format, index, 2));
                break;
            default: break;  // separators such as ";" and ":" only help the reader
        }
    }
}

KivFormat::KivFormat(const KivString& format) {
    void* block = KivMemory::Allocate(sizeof(Formatter));
    try {
        formatter_ = new (block) Formatter(format);
    } catch (...) {
        KivMemory::Free(block);
        throw;
    }
}

KivFormat::KivFormat(const KivFormat& other) noexcept : formatter_(other.formatter_) {
    formatter_->references.fetch_add(1, std::memory_order_relaxed);
}

KivFormat& KivFormat::operator=(const KivFormat& other) noexcept {
    // Taking the new reference first keeps self-assignment safe.
    other.formatter_->references.fetch_add(1, std::memory_order_relaxed);
    Release(formatter_);
    formatter_ = other.formatter_;
    return *this;
}

KivFormat::~KivFormat() { Release(formatter_); }

void KivFormat::Release(Formatter* formatter) noexcept {
    if (formatter->references.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    formatter->~Formatter();
    KivMemory::Free(formatter);
}

KivFormat& KivFormat::Argument(double value) {
    const Formatter::Slot* slot = formatter_->NextSlot();
    if (!slot) return Argument(KivString());
    char buffer[KivNumber::kDoubleBufferSize + 1];
    int32_t count = 0;
    if ((slot->placeholder.flags & kExplicitPlus) && value - kPositiveThreshold > 0) buffer[count++] = '+';
    count += KivNumber::WriteDouble(buffer + count, value, slot->placeholder.precision);
    formatter_->InsertNext(buffer, count);
    return *this;
}

KivFormat& KivFormat::Argument(int64_t value) {
    const Formatter::Slot* slot = formatter_->NextSlot();
    if (!slot) return Argument(KivString());
    const Placeholder& placeholder = slot->placeholder;
    char buffer[KivNumber::kIntegerBufferSize + 1];
    int32_t count = 0;
    if ((placeholder.flags & kExplicitPlus) && value >= 1) buffer[count++] = '+';
    int32_t radix = (placeholder.flags & kHexadecimal) ? 16 : 10;
    count += KivNumber::WriteInteger(buffer + count, value, radix, placeholder.width, placeholder.pad);
    formatter_->InsertNext(buffer, count);
    return *this;
}

KivFormat& KivFormat::Argument(const KivString& text) {
    formatter_->InsertNext(text);
    return *this;
}

// The bytes are copied: unlike a literal, a caller's buffer may not outlive the formatter.
KivFormat& KivFormat::Argument(const char* text) {
    formatter_->InsertNext(text ? text : "", text ? static_cast<int32_t>(std::strlen(text)) : 0);
    return *this;
}

KivString KivFormat::Result() const { return formatter_->text; }
