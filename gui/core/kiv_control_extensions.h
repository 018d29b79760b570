#pragma once
#include <cstdint>

// Sixteen tagged pointers that other parts of the toolkit attach to a control (the window
// system keeps its native record here). A tag is found by probing from slot 7 onwards,
// cyclically, until the tag is found or slot 7 comes round again; tag 0 marks a free slot.
class KivControlExtensions {
public:
    static constexpr int32_t kSlotCount = 16;
    static constexpr int32_t kFirstProbe = 7;

    // The four bytes of a tag as they read in memory: KivExtensionTag("W3WD").
    static constexpr uint32_t Tag(const char (&text)[5]) {
        return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) |
               static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(text[3])) << 24;
    }

    // The slot holding `tag`, or -1.
    int32_t Find(uint32_t tag) const;
    void* Get(uint32_t tag) const;
    // Stores `pointer` under `tag` (its slot, or the first free one in probe order). Raises
    // "Index out of range." when all sixteen slots hold other tags.
    int32_t Set(uint32_t tag, void* pointer);
    // Frees the slot of `tag`; the pointer it held, or null.
    void* Remove(uint32_t tag);

    uint32_t TagAt(int32_t slot) const { return tags_[slot]; }

private:
    uint32_t tags_[kSlotCount] = {};
    void* pointers_[kSlotCount] = {};
};

// The window system's native record of a window.
inline constexpr uint32_t kKivNativeRecordTag = KivControlExtensions::Tag("W3WD");
