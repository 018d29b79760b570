#pragma once
#include <cstdint>
#include <cstring>

// The basic vocabulary of the VST 3 binary interface: sized integers, 16-bit text, result
// codes and the 16-byte interface identifiers. Windows hosts speak COM, so there the result
// codes are COM's and identifiers are laid out as COM GUIDs; elsewhere the interface uses
// small result numbers and big-endian identifiers.
#if defined(_WIN32)
#define KIV_VST3_COM_COMPATIBLE 1
#define KIV_VST3_API __stdcall
#else
#define KIV_VST3_COM_COMPATIBLE 0
#define KIV_VST3_API
#endif

namespace Steinberg {

using int8 = int8_t;
using uint8 = uint8_t;
using int16 = int16_t;
using uint16 = uint16_t;
using int32 = int32_t;
using uint32 = uint32_t;
using int64 = int64_t;
using uint64 = uint64_t;
using char8 = char;
using char16 = char16_t;
using TChar = char16;
using String128 = TChar[128];
using CString = const char8*;
using FIDString = const char8*;
using TBool = uint8;
using tresult = int32;
using TUID = char[16];

#if KIV_VST3_COM_COMPATIBLE
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002L);
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057L);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001L);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005L);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFL);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000EL);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

// An interface or class identifier as it lies in memory. It is written down as four 32-bit
// words; COM hosts store the first three parts of a GUID little-endian.
struct InterfaceId {
    char bytes[16];

    bool Matches(const char* other) const noexcept { return other && std::memcmp(bytes, other, 16) == 0; }
};

constexpr char ByteOf(uint32 word, int shift) { return static_cast<char>((word >> shift) & 0xFF); }

constexpr InterfaceId MakeInterfaceId(uint32 word1, uint32 word2, uint32 word3, uint32 word4) {
#if KIV_VST3_COM_COMPATIBLE
    return {{ByteOf(word1, 0), ByteOf(word1, 8), ByteOf(word1, 16), ByteOf(word1, 24), ByteOf(word2, 16),
             ByteOf(word2, 24), ByteOf(word2, 0), ByteOf(word2, 8), ByteOf(word3, 24), ByteOf(word3, 16),
             ByteOf(word3, 8), ByteOf(word3, 0), ByteOf(word4, 24), ByteOf(word4, 16), ByteOf(word4, 8),
             ByteOf(word4, 0)}};
#else
    return {{ByteOf(word1, 24), ByteOf(word1, 16), ByteOf(word1, 8), ByteOf(word1, 0), ByteOf(word2, 24),
             ByteOf(word2, 16), ByteOf(word2, 8), ByteOf(word2, 0), ByteOf(word3, 24), ByteOf(word3, 16),
             ByteOf(word3, 8), ByteOf(word3, 0), ByteOf(word4, 24), ByteOf(word4, 16), ByteOf(word4, 8),
             ByteOf(word4, 0)}};
#endif
}

}  // namespace Steinberg
