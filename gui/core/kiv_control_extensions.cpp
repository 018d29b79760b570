#include "gui/core/kiv_control_extensions.h"

#include "base/kiv_exception.h"

int32_t KivControlExtensions::Find(uint32_t tag) const {
    int32_t slot = kFirstProbe;
    do {
        if (tags_[slot] == tag) return slot;
        slot = (slot + 1) % kSlotCount;
    } while (slot != kFirstProbe);
    return -1;
}

void* KivControlExtensions::Get(uint32_t tag) const {
    if (tag == 0) return nullptr;
    const int32_t slot = Find(tag);
    return slot < 0 ? nullptr : pointers_[slot];
}

int32_t KivControlExtensions::Set(uint32_t tag, void* pointer) {
    int32_t slot = Find(tag);
    if (slot < 0) slot = Find(0);
    if (slot < 0 || tag == 0) throw KivException(KivString("Index out of range."), KivException::kInvalidArgument);
    tags_[slot] = tag;
    pointers_[slot] = pointer;
    return slot;
}

void* KivControlExtensions::Remove(uint32_t tag) {
    const int32_t slot = tag == 0 ? -1 : Find(tag);
    if (slot < 0) return nullptr;
    void* pointer = pointers_[slot];
    tags_[slot] = 0;
    pointers_[slot] = nullptr;
    return pointer;
}
