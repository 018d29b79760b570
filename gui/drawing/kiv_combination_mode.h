#pragma once
#include <cstdint>

// How editors that combine curves merge a drawn value with the one already there; stored
// in GUI descriptions as "None", "Set", "Add", "Subtract", "Max", "Min".
enum class KivCombinationMode : int32_t {
    kNone = 0,
    kSet = 1,
    kAdd = 2,
    kSubtract = 3,
    kMax = 4,
    kMin = 5,
};
