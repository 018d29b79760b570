#pragma once
#include <cstdint>
#include <string>
#include <string_view>

class KivByteBuffer;

// The framework's text type: 16-bit units with a length.
//
// Text written in the program as a literal is borrowed, never copied: a KivString built
// from a `const char*` keeps the pointer, so that pointer must outlive every copy (string
// literals do). Built text lives in a shared heap buffer with an atomic reference count;
// copies share it and any modification first detaches a shared buffer (copy on write) and
// first turns a literal into a heap buffer.
//
// Reading a character of a literal takes the byte as a signed 8-bit value widened to 16
// bits, so bytes 128..255 read as 0xFF80..0xFFFF.
class KivString {
public:
    static constexpr int32_t kUnbounded = 0x7FFFFFFF;

    KivString() noexcept;
    KivString(const char* literal) noexcept;  // NOLINT: literals convert implicitly, borrowed
    KivString(const char16_t* text);          // NOLINT: copied up to its terminating 0
    KivString(const char16_t* units, int32_t count);
    KivString(const KivString& other) noexcept;
    KivString(KivString&& other) noexcept;
    ~KivString();

    KivString& operator=(const KivString& other) noexcept;
    KivString& operator=(KivString&& other) noexcept;

    // Copies `count` bytes (all up to the terminating 0 when count < 0) into a heap buffer,
    // each byte widened with its sign as a literal's would be.
    static KivString CopyBytes(const char* bytes, int32_t count = -1);
    // UTF-8 conveniences for tools, tests and file names (the codecs do the real work).
    static KivString FromUTF8(std::string_view utf8);
    std::string ToUTF8() const;
    static KivString FromU16(std::u16string_view units) {
        return KivString(units.data(), static_cast<int32_t>(units.size()));
    }
    std::u16string ToU16() const;

    int32_t Length() const noexcept { return static_cast<int32_t>(length_); }
    bool IsEmpty() const noexcept { return length_ == 0; }
    bool IsLiteral() const noexcept { return (flags_ & kLiteral) != 0; }
    // The character at `index`; 0 at index == Length().
    char16_t operator[](int32_t index) const noexcept {
        return IsLiteral() ? static_cast<char16_t>(static_cast<int16_t>(static_cast<const int8_t*>(data_)[index]))
                           : static_cast<const char16_t*>(data_)[index];
    }
    char16_t CharAt(int32_t index) const noexcept { return (*this)[index]; }
    // The borrowed bytes of a literal, or null for a heap string.
    const char* LiteralBytes() const noexcept { return IsLiteral() ? static_cast<const char*>(data_) : nullptr; }
    // The zero-terminated units of a heap string, or null for a literal.
    const char16_t* HeapUnits() const noexcept { return IsLiteral() ? nullptr : static_cast<const char16_t*>(data_); }
    // Zero-terminated units, turning a literal into a heap buffer first.
    const char16_t* Units();
    // Units that may be changed in place (the buffer is private after this call).
    char16_t* MutableUnits();
    void CopyUnits(char16_t* destination, int32_t start, int32_t count) const noexcept;

    // Room for `count` characters without reallocation.
    void Reserve(int32_t count);
    void Clear() noexcept;
    // Cuts or extends (with 0 units) to `count` characters.
    void SetLength(int32_t count);
    KivString& Append(char16_t character);
    KivString& Append(const KivString& text);
    KivString& Append(const char16_t* units, int32_t count);
    KivString& Insert(int32_t position, const KivString& text);
    KivString& Erase(int32_t position, int32_t count);
    KivString& operator+=(const KivString& text) { return Append(text); }
    KivString& operator+=(char16_t character) { return Append(character); }
    KivString Substring(int32_t start, int32_t count = kUnbounded) const;
    // Index of the first `character` at or after `from`, or -1.
    int32_t Find(char16_t character, int32_t from = 0) const noexcept;
    int32_t Find(const KivString& text, int32_t from = 0) const noexcept;
    // Lower or upper case of the ASCII letters.
    KivString& MakeLower();
    KivString& MakeUpper();
    // Removes every character up to code 32 at both ends.
    KivString Trimmed() const;

    // Exact comparison of the units: negative, 0 or positive.
    int Compare(const KivString& other) const noexcept;
    // Comparison ignoring case and accents, over at most `maxCount` characters.
    int CompareFolded(const KivString& other, int32_t maxCount = kUnbounded) const noexcept;
    bool EqualsFolded(const KivString& other) const noexcept { return CompareFolded(other) == 0; }
    // Case-insensitive hash for hash tables keyed by text.
    int32_t Hash() const noexcept;

    // A view of the units: a heap string lends its own buffer ((length + 1) * 2 bytes with
    // the terminator, length * 2 without); a literal gives a new buffer of widened units.
    KivByteBuffer AsByteBuffer(bool withTerminator) const;

    friend bool operator==(const KivString& a, const KivString& b) noexcept { return a.Compare(b) == 0; }
    friend bool operator!=(const KivString& a, const KivString& b) noexcept { return a.Compare(b) != 0; }
    friend bool operator<(const KivString& a, const KivString& b) noexcept { return a.Compare(b) < 0; }
    friend KivString operator+(KivString a, const KivString& b) { return a.Append(b); }

private:
    static constexpr uint8_t kLiteral = 1;

    struct HeapHeader;
    HeapHeader* Header() const noexcept;
    void AddReference() const noexcept;
    void ReleaseReference() noexcept;
    // Makes the buffer private and able to hold `count` characters plus the terminator.
    void PrepareForChange(int32_t count);

    const void* data_;
    uint32_t length_;
    uint8_t flags_;
};

// Folded comparison of raw texts (8-bit bytes widened with sign, or 16-bit units), up to a
// terminating 0 or `maxCount` characters. The variants cover every pairing of widths.
namespace KivFold {
int Compare(const char* a, const char* b, int32_t maxCount = KivString::kUnbounded) noexcept;
int Compare(const char16_t* a, const char* b, int32_t maxCount = KivString::kUnbounded) noexcept;
int Compare(const char* a, const char16_t* b, int32_t maxCount = KivString::kUnbounded) noexcept;
int Compare(const char16_t* a, const char16_t* b, int32_t maxCount = KivString::kUnbounded) noexcept;
// One character folded: accents removed through the decomposition table, A-Z lowered.
char16_t Character(char16_t character) noexcept;
}  // namespace KivFold
