#pragma once
#include <cstdint>

// The fonts of the house style, by index into the style's font table: the embedded
// DejaVu Sans at the sizes the controls use.
enum class KivStyleFont : int32_t {
    kNormal,  // "Normal": captions, buttons, fields
    kSmall,   // "Small": scales, units, value read-outs under knobs
    kTitle,   // "Title": section headings
    kLarge,   // "Large": big read-outs
    kCount
};
