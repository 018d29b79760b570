#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "parameters/kiv_effect_parameter_type.h"

// The plain declaration record of one simple parameter. An effect keeps its records in one
// array in declaration order, fills them in its constructor and never moves them; parameter
// objects refer to them for the effect's whole life.
//
// The field order is fixed. With this framework's 16-byte KivString the record comes to 248
// bytes on 64-bit targets, not a round 256: nothing depends on the size, so no padding is
// invented to reach it.
struct KivEffectParameter {
    // With an empty `in` the function puts the record's value as text into `out`; otherwise it
    // parses `in` into the record's value and leaves `out` empty. It replaces both the format
    // and the plain number reading.
    using ValueFunction = void (*)(KivString& out, KivEffectParameter& record, const KivString& in);

    // Bits of `flags`.
    static constexpr uint8_t kDeclared = 1 << 0;
    static constexpr uint8_t kProductMarked = 1 << 1;  // gain, dry/wet and link; product's own
    static constexpr uint8_t kInterpolated = 1 << 3;
    static constexpr uint8_t kTargetMode = 1 << 4;     // writes go to the target while set
    static constexpr uint8_t kReprepares = 1 << 5;
    static constexpr uint8_t kRandomisable = 1 << 6;
    // Bits of `flags2`.
    static constexpr uint8_t kEndsSection = 1 << 3;
    static constexpr uint8_t kWholeNumbers = 1 << 6;

    struct FloatValues {
        double minimum;
        double maximum;
        double defaultValue;
        double value;
        double target;
        double spare;  // the product keeps the default here too
        uint32_t curve;  // KivParameterCurve
    };
    struct IntegerValues {
        int32_t minimum;
        int32_t maximum;
        int32_t defaultValue;
        int32_t value;
        int32_t target;
    };
    struct EnumerationValues {
        const char* const* items;
        int32_t count;
        int32_t defaultIndex;
        int32_t index;
        int32_t targetIndex;
    };
    struct BoolValues {
        uint8_t defaultValue;
        uint8_t value;
    };
    struct GroupValues {
        uint8_t* enabled;  // the group's on/off switch, or null
    };
    union TypedValues {
        FloatValues asFloat;
        IntegerValues asInteger;
        EnumerationValues asEnumeration;
        BoolValues asBool;
        GroupValues asGroup;
        uint8_t bytes[56];
    };

    uint8_t flags = 0;
    uint8_t flags2 = 0;
    uint32_t type = kKivParameterTypeNone;
    KivString name;
    KivString identifier;
    KivString help;
    KivString qualifier2;
    KivString qualifier1;
    int32_t listCount = 0;
    int32_t listCapacity = 0;
    void** listItems = nullptr;
    void* reservedReference = nullptr;
    ValueFunction valueFunction = nullptr;
    KivString format;
    uint32_t tag = 0;
    TypedValues values{};
    int32_t layout[4] = {};
    // What hosts show: a name unique across the plug-in that fits a VST 2.4 name (24
    // characters, "P1 Threshold"), a label of at most 7 characters for narrow displays, and
    // the unit every display carries ("dB"). Literals of the effect; null where the name
    // itself is unique and short, where no short label reads well, or where no one unit fits.
    const char* hostName = nullptr;
    const char* shortLabel = nullptr;
    const char* units = nullptr;
    uint64_t reserved = 0;

    bool HasFlag(uint8_t bit) const noexcept { return (flags & bit) != 0; }
    bool HasFlag2(uint8_t bit) const noexcept { return (flags2 & bit) != 0; }
    void SetFlag(uint8_t bit, bool on) noexcept { flags = static_cast<uint8_t>(on ? flags | bit : flags & ~bit); }
};

static_assert(sizeof(KivEffectParameter::TypedValues) == 56, "the typed values take 56 bytes");
static_assert(sizeof(void*) != 8 || sizeof(KivEffectParameter) == 248,
              "on 64-bit targets the record takes 248 bytes with a 16-byte KivString");
