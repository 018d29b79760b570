#pragma once
#include <cstdint>

#include "dynamics/parameters/kiv_attack_release_mode.h"

// The product's own switches that are stored with its state but are not host parameters.
struct TandrelProductSettings {
    uint8_t doNotLimitAbove0dB = 0;  // levels above 0 dB follow the shape's last segment
    uint8_t customShape = 0;         // the drawn shape replaces the computed one
    uint8_t expander1 = 0;
    uint8_t expander2 = 0;
    KivAttackReleaseMode attackShape = KivAttackReleaseMode::kFast;
    KivAttackReleaseMode releaseShape = KivAttackReleaseMode::kFast;
};
