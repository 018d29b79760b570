#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// One resource body inside the data part of a resource container.
struct KivIndexedResource {
    KivString id;
    int32_t offset = 0;  // bytes from the start of the data part
    int32_t size = 0;
    bool compressed = false;
};
