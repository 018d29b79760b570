#include "base/kiv_string.h"

#include <atomic>
#include <cstring>
#include <new>

#include "base/kiv_byte_buffer.h"
#include "base/kiv_memory.h"

// Eight bytes directly before the characters: allocated size, then the reference count.
struct KivString::HeapHeader {
    int32_t allocatedBytes;
    std::atomic<int32_t> references;

    char16_t* Units() noexcept { return reinterpret_cast<char16_t*>(this + 1); }
    int32_t CapacityInCharacters() const noexcept {
        return (allocatedBytes - static_cast<int32_t>(sizeof(HeapHeader))) / 2 - 1;
    }
};
static_assert(sizeof(std::atomic<int32_t>) == 4, "the heap header must be 8 bytes");

namespace {

constexpr const char* kEmptyLiteral = "";

// Allocates a header with room for `count` characters and the terminator, rounded up to the
// next power of two so that growing one character at a time costs amortised constant time.
template <typename Header>
Header* AllocateHeap(int32_t count) {
    size_t bytes = KivMemory::NextPowerOfTwo(static_cast<size_t>(count + 1) * 2 + sizeof(Header));
    auto* header = static_cast<Header*>(KivMemory::Allocate(bytes));
    header->allocatedBytes = static_cast<int32_t>(bytes);
    new (&header->references) std::atomic<int32_t>(1);
    return header;
}

}  // namespace

KivString::KivString() noexcept : data_(kEmptyLiteral), length_(0), flags_(kLiteral) {}

KivString::KivString(const char* literal) noexcept
    : data_(literal ? literal : kEmptyLiteral),
      length_(literal ? static_cast<uint32_t>(std::strlen(literal)) : 0),
      flags_(kLiteral) {}

KivString::KivString(const char16_t* text) : KivString() {
    if (!text) return;
    int32_t count = 0;
    while (text[count] != 0) ++count;
    Append(text, count);
}

KivString::KivString(const char16_t* units, int32_t count) : KivString() { Append(units, count); }

KivString::KivString(const KivString& other) noexcept
    : data_(other.data_), length_(other.length_), flags_(other.flags_) {
    AddReference();
}

KivString::KivString(KivString&& other) noexcept : data_(other.data_), length_(other.length_), flags_(other.flags_) {
    other.data_ = kEmptyLiteral;
    other.length_ = 0;
    other.flags_ = kLiteral;
}

KivString::~KivString() { ReleaseReference(); }

KivString& KivString::operator=(const KivString& other) noexcept {
    if (this != &other) {
        other.AddReference();
        ReleaseReference();
        data_ = other.data_;
        length_ = other.length_;
        flags_ = other.flags_;
    }
    return *this;
}

KivString& KivString::operator=(KivString&& other) noexcept {
    if (this != &other) {
        ReleaseReference();
        data_ = other.data_;
        length_ = other.length_;
        flags_ = other.flags_;
        other.data_ = kEmptyLiteral;
        other.length_ = 0;
        other.flags_ = kLiteral;
    }
    return *this;
}

KivString KivString::CopyBytes(const char* bytes, int32_t count) {
    KivString result;
    if (!bytes) return result;
    if (count < 0) count = static_cast<int32_t>(std::strlen(bytes));
    result.PrepareForChange(count);
    char16_t* units = result.MutableUnits();
    for (int32_t i = 0; i < count; ++i)
        units[i] = static_cast<char16_t>(static_cast<int16_t>(static_cast<int8_t>(bytes[i])));
    units[count] = 0;
    result.length_ = static_cast<uint32_t>(count);
    return result;
}

std::u16string KivString::ToU16() const {
    std::u16string units(length_, u'\0');
    CopyUnits(units.data(), 0, Length());
    return units;
}

KivString::HeapHeader* KivString::Header() const noexcept {
    return reinterpret_cast<HeapHeader*>(const_cast<char16_t*>(static_cast<const char16_t*>(data_))) - 1;
}

void KivString::AddReference() const noexcept {
    if (!IsLiteral()) Header()->references.fetch_add(1, std::memory_order_relaxed);
}

void KivString::ReleaseReference() noexcept {
    if (IsLiteral()) return;
    HeapHeader* header = Header();
    if (header->references.fetch_sub(1, std::memory_order_acq_rel) == 1) KivMemory::Free(header);
}

void KivString::PrepareForChange(int32_t count) {
    if (!IsLiteral()) {
        HeapHeader* header = Header();
        bool exclusive = header->references.load(std::memory_order_acquire) == 1;
        if (exclusive && count <= header->CapacityInCharacters()) return;
    }
    int32_t keep = static_cast<int32_t>(length_) < count ? static_cast<int32_t>(length_) : count;
    HeapHeader* fresh = AllocateHeap<HeapHeader>(count);
    CopyUnits(fresh->Units(), 0, keep);
    fresh->Units()[keep] = 0;
    ReleaseReference();
    data_ = fresh->Units();
    flags_ = 0;
    length_ = static_cast<uint32_t>(keep);
}

const char16_t* KivString::Units() {
    if (IsLiteral()) PrepareForChange(Length());
    return static_cast<const char16_t*>(data_);
}

char16_t* KivString::MutableUnits() {
    PrepareForChange(Length());
    return const_cast<char16_t*>(static_cast<const char16_t*>(data_));
}

void KivString::CopyUnits(char16_t* destination, int32_t start, int32_t count) const noexcept {
    if (IsLiteral()) {
        const auto* bytes = static_cast<const int8_t*>(data_) + start;
        for (int32_t i = 0; i < count; ++i) destination[i] = static_cast<char16_t>(static_cast<int16_t>(bytes[i]));
    } else if (count > 0) {
        std::memcpy(destination, static_cast<const char16_t*>(data_) + start, static_cast<size_t>(count) * 2);
    }
}

void KivString::Reserve(int32_t count) {
    if (count < Length()) count = Length();
    PrepareForChange(count);
}

void KivString::Clear() noexcept {
    ReleaseReference();
    data_ = kEmptyLiteral;
    length_ = 0;
    flags_ = kLiteral;
}

void KivString::SetLength(int32_t count) {
    if (count < 0) count = 0;
    // Emptying a shared or literal text would copy what is about to be dropped.
    if (count == 0 && (IsLiteral() || Header()->references.load(std::memory_order_acquire) > 1)) {
        Clear();
        return;
    }
    int32_t old = Length();
    PrepareForChange(count > old ? count : old);
    char16_t* units = const_cast<char16_t*>(static_cast<const char16_t*>(data_));
    for (int32_t i = old; i < count; ++i) units[i] = 0;
    units[count] = 0;
    length_ = static_cast<uint32_t>(count);
}

KivString& KivString::Append(char16_t character) {
    // Line readers and decoders append one unit at a time: a private buffer with room takes
    // the unit without the general path's copy-on-write bookkeeping.
    if (!IsLiteral()) {
        HeapHeader* header = Header();
        if (static_cast<int32_t>(length_) < header->CapacityInCharacters() &&
            header->references.load(std::memory_order_relaxed) == 1) {
            char16_t* units = header->Units();
            units[length_++] = character;
            units[length_] = 0;
            return *this;
        }
    }
    return Append(&character, 1);
}

KivString& KivString::Append(const KivString& text) {
    if (text.IsEmpty()) return *this;
    if (IsEmpty()) return *this = text;  // sharing beats copying
    if (text.IsLiteral()) {
        int32_t old = Length();
        PrepareForChange(old + text.Length());
        char16_t* units = const_cast<char16_t*>(static_cast<const char16_t*>(data_));
        text.CopyUnits(units + old, 0, text.Length());
        length_ = static_cast<uint32_t>(old + text.Length());
        units[length_] = 0;
        return *this;
    }
    KivString keep(text);  // `text` may be this very string
    return Append(keep.HeapUnits(), keep.Length());
}

KivString& KivString::Append(const char16_t* units, int32_t count) {
    if (!units || count <= 0) return *this;
    int32_t old = Length();
    int32_t total = old + count;
    int32_t capacity = IsLiteral() ? 0 : Header()->CapacityInCharacters();
    PrepareForChange(total > capacity ? total : capacity);
    char16_t* target = const_cast<char16_t*>(static_cast<const char16_t*>(data_));
    std::memmove(target + old, units, static_cast<size_t>(count) * 2);
    target[total] = 0;
    length_ = static_cast<uint32_t>(total);
    return *this;
}

KivString& KivString::Insert(int32_t position, const KivString& text) {
    int32_t old = Length();
    if (position < 0) position = 0;
    if (position >= old) return Append(text);
    int32_t count = text.Length();
    if (count == 0) return *this;
    KivString keep(text);
    int32_t capacity = IsLiteral() ? 0 : Header()->CapacityInCharacters();
    PrepareForChange(old + count > capacity ? old + count : capacity);
    char16_t* units = const_cast<char16_t*>(static_cast<const char16_t*>(data_));
    std::memmove(units + position + count, units + position, static_cast<size_t>(old - position) * 2);
    keep.CopyUnits(units + position, 0, count);
    length_ = static_cast<uint32_t>(old + count);
    units[length_] = 0;
    return *this;
}

KivString& KivString::Erase(int32_t position, int32_t count) {
    int32_t old = Length();
    if (position < 0 || position >= old || count <= 0) return *this;
    if (count > old - position) count = old - position;
    char16_t* units = MutableUnits();
    std::memmove(units + position, units + position + count, static_cast<size_t>(old - position - count) * 2);
    length_ = static_cast<uint32_t>(old - count);
    units[length_] = 0;
    return *this;
}

KivString KivString::Substring(int32_t start, int32_t count) const {
    if (start < 0) start = 0;
    if (start >= Length() || count <= 0) return KivString();
    if (count > Length() - start) count = Length() - start;
    if (start == 0 && count == Length()) return *this;
    KivString result;
    result.PrepareForChange(count);
    char16_t* units = const_cast<char16_t*>(static_cast<const char16_t*>(result.data_));
    CopyUnits(units, start, count);
    units[count] = 0;
    result.length_ = static_cast<uint32_t>(count);
    return result;
}

int32_t KivString::Find(char16_t character, int32_t from) const noexcept {
    for (int32_t i = from < 0 ? 0 : from; i < Length(); ++i)
        if ((*this)[i] == character) return i;
    return -1;
}

int32_t KivString::Find(const KivString& text, int32_t from) const noexcept {
    int32_t count = text.Length();
    for (int32_t i = from < 0 ? 0 : from; i + count <= Length(); ++i) {
        int32_t matched = 0;
        while (matched < count && (*this)[i + matched] == text[matched]) ++matched;
        if (matched == count) return i;
    }
    return -1;
}

KivString& KivString::MakeLower() {
    char16_t* units = MutableUnits();
    for (int32_t i = 0; i < Length(); ++i)
        if (units[i] >= u'A' && units[i] <= u'Z') units[i] = static_cast<char16_t>(units[i] + 32);
    return *this;
}

KivString& KivString::MakeUpper() {
    char16_t* units = MutableUnits();
    for (int32_t i = 0; i < Length(); ++i)
        if (units[i] >= u'a' && units[i] <= u'z') units[i] = static_cast<char16_t>(units[i] - 32);
    return *this;
}

KivString KivString::Trimmed() const {
    int32_t start = 0;
    int32_t end = Length();
    while (start < end && (*this)[start] <= 32) ++start;
    while (end > start && (*this)[end - 1] <= 32) --end;
    return Substring(start, end - start);
}

int KivString::Compare(const KivString& other) const noexcept {
    int32_t common = Length() < other.Length() ? Length() : other.Length();
    for (int32_t i = 0; i < common; ++i) {
        int difference = static_cast<int>((*this)[i]) - static_cast<int>(other[i]);
        if (difference != 0) return difference;
    }
    return Length() - other.Length();
}

KivByteBuffer KivString::AsByteBuffer(bool withTerminator) const {
    int32_t bytes = (Length() + (withTerminator ? 1 : 0)) * 2;
    if (IsLiteral()) {
        KivByteBuffer widened(bytes);
        auto* units = reinterpret_cast<char16_t*>(widened.MutableData());
        CopyUnits(units, 0, Length());
        if (withTerminator) units[Length()] = 0;
        return widened;
    }
    return KivByteBuffer::Lend(*this, const_cast<void*>(data_), bytes);
}
