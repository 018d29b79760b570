#pragma once
#include <cstdint>

// The cross-library form of the effect's operations: an effect is reached through one C
// function of this shape, exported by the library that holds it (for this product
// `TandrelAudioEffectPluginInterface`):
//
//     extern "C" intptr_t Interface(void* object, int32_t message, void* argument);
//
// `object` is the effect (a KivAudioEffectPlugin*) or null, which creates a new effect and
// delivers the message to it. `argument` points to a KivEffectMessageRecord or is null. The
// result is the message's answer, -1 for numbers without an operation.
using KivAudioEffectPluginInterfaceFunction = intptr_t (*)(void* object, int32_t message, void* argument);

// How the effect calls back its host object: the same shape, with the host object first and a
// message number 0..7.
using KivEffectHostCallback = intptr_t (*)(void* hostObject, int32_t message, void* argument);

// Messages an effect sends its host object through the callback (KivPlugin::CallHost).
enum KivEffectHostMessage : int32_t {
    kKivEffectHostQuery = 0,
    kKivEffectHostParameterDisplayChanged = 2,  // a record's display marks changed
    kKivEffectHostLatencyChanged = 4            // GetLatency answers differently now
};

// Message numbers.
enum KivEffectMessage : int32_t {
    kKivEffectConnect = 0,         // cell 1 host object, cell 3 host callback; answers the effect
    kKivEffectDestroy = 1,
    kKivEffectGetInterface = 2,    // answers the effect as KivAudioEffectPlugin*
    kKivEffectInitialize = 3,
    kKivEffectParameterChanged = 4,  // cell 1 record index
    kKivEffectCreateEditorContents = 5,
    kKivEffectReset = 6,
    kKivEffectReturnSelf = 7,      // answered by the interface function itself
    kKivEffectLoadSettings = 11,   // cell 1 the XML item
    kKivEffectStoreSettings = 12,  // cell 1 the XML item
    kKivEffectHook13 = 13,
    kKivEffectQuery14 = 14,
    kKivEffectRandomize = 15,      // cell 1 points to the amount (double)
    kKivEffectHook20 = 20,         // cells 1 and 3
    kKivEffectInitProcessing = 100,  // cell 1 channel count, cell 3 sample rate
    kKivEffectProcess = 101,       // cell 1 context, cell 3 inputs, cell 5 outputs, cell 7 count
    kKivEffectQuery102 = 102,
    kKivEffectGetLatency = 103,
    kKivEffectHook104 = 104,
    kKivEffectQuery105 = 105,
    kKivEffectProcessUpdate = 106,
    kKivEffectUpdateChannelControls = 107
};

// The argument of a message: eight 8-byte cells. A 32-bit number sits in the low half of its
// cell, a pointer fills it.
struct KivEffectMessageRecord {
    static constexpr int32_t kCellCount = 8;
    uint64_t cells[kCellCount] = {};

    void SetPointer(int32_t cell, const void* pointer) noexcept {
        cells[cell] = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
    }
    void* GetPointer(int32_t cell) const noexcept {
        return reinterpret_cast<void*>(static_cast<uintptr_t>(cells[cell]));
    }
    void SetInt32(int32_t cell, int32_t value) noexcept {
        cells[cell] = static_cast<uint64_t>(static_cast<uint32_t>(value));
    }
    int32_t GetInt32(int32_t cell) const noexcept { return static_cast<int32_t>(static_cast<uint32_t>(cells[cell])); }
};
