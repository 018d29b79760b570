#include <algorithm>
#include <cstdint>

#include "base/kiv_string.h"

namespace {

struct FoldPair {
    char16_t character;
    char16_t base;
};

constexpr FoldPair kFoldPairs[] = {
#include "base/encoding/generated/kiv_fold_table.inc"
};
static_assert(sizeof(kFoldPairs) / sizeof(kFoldPairs[0]) == 988, "the folding table changed size");

// Characters below this never carry an accent worth removing.
constexpr char16_t kFirstFoldable = 0xC0;

char16_t RemoveAccent(char16_t character) noexcept {
    if (character < kFirstFoldable) return character;
    const FoldPair* end = std::end(kFoldPairs);
    const FoldPair* found = std::lower_bound(std::begin(kFoldPairs), end, character,
                                             [](const FoldPair& pair, char16_t key) { return pair.character < key; });
    return found != end && found->character == character ? found->base : character;
}

char16_t Widen(char byte) noexcept { return static_cast<char16_t>(static_cast<int16_t>(static_cast<int8_t>(byte))); }
char16_t Widen(char16_t unit) noexcept { return unit; }

// Walks both zero-terminated texts; `A` and `B` are char or char16_t.
template <typename A, typename B>
int CompareRaw(const A* a, const B* b, int32_t maxCount) noexcept {
    for (int32_t i = 0; i < maxCount; ++i) {
        int left = KivFold::Character(Widen(a[i]));
        int right = KivFold::Character(Widen(b[i]));
        if (left != right) return left - right;
        if (left == 0) return 0;
    }
    return 0;
}

// The character at `index`, or 0 past the end, so that lengths compare like terminators.
char16_t CharacterOrEnd(const KivString& text, int32_t index) noexcept {
    return index < text.Length() ? text[index] : char16_t{0};
}

constexpr int32_t kLongTextLength = 16;
constexpr int32_t kLongTextStride = 4;
constexpr int32_t kLongTextSampleLimit = 8;

uint32_t HashContribution(char16_t character, int32_t index) noexcept {
    if (character >= u'A' && character <= u'Z') character = static_cast<char16_t>(character + 32);
    auto low = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(character & 0xFF)));
    return low << (index % 32);
}

}  // namespace

char16_t KivFold::Character(char16_t character) noexcept {
    character = RemoveAccent(character);
    return character >= u'A' && character <= u'Z' ? static_cast<char16_t>(character + 32) : character;
}

int KivFold::Compare(const char* a, const char* b, int32_t maxCount) noexcept { return CompareRaw(a, b, maxCount); }
int KivFold::Compare(const char16_t* a, const char* b, int32_t maxCount) noexcept {
    return CompareRaw(a, b, maxCount);
}
int KivFold::Compare(const char* a, const char16_t* b, int32_t maxCount) noexcept {
    return CompareRaw(a, b, maxCount);
}
int KivFold::Compare(const char16_t* a, const char16_t* b, int32_t maxCount) noexcept {
    return CompareRaw(a, b, maxCount);
}

int KivString::CompareFolded(const KivString& other, int32_t maxCount) const noexcept {
    for (int32_t i = 0; i < maxCount; ++i) {
        int left = KivFold::Character(CharacterOrEnd(*this, i));
        int right = KivFold::Character(CharacterOrEnd(other, i));
        if (left != right) return left - right;
        if (left == 0) return 0;
    }
    return 0;
}

int32_t KivString::Hash() const noexcept {
    uint32_t hash = 0;
    if (Length() < kLongTextLength) {
        for (int32_t i = 0; i < Length(); ++i) hash ^= HashContribution((*this)[i], i);
    } else {
        // Long texts are sampled so that hashing a long path costs no more than a short name.
        int32_t limit = std::min(Length() / 4, kLongTextSampleLimit);
        for (int32_t i = 0; i < limit; i += kLongTextStride) hash ^= HashContribution((*this)[i], i);
    }
    return static_cast<int32_t>(hash);
}
