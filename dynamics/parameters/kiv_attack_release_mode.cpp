#include "dynamics/parameters/kiv_attack_release_mode.h"

const char* const kKivAttackReleaseModeTexts[kKivAttackReleaseModeCount] = {
    "Slowest", "Slow", "Medium", "Fast", "Fastest", "Extreme", "Custom", "Custom (logarithmic)"};

KivString KivAttackReleaseModeText(KivAttackReleaseMode mode) {
    int32_t index = static_cast<int32_t>(mode);
    if (index < 0 || index >= kKivAttackReleaseModeCount) return KivString();
    return kKivAttackReleaseModeTexts[index];
}

KivAttackReleaseMode KivAttackReleaseModeFromText(const KivString& text) {
    for (int32_t index = 0; index < kKivAttackReleaseModeCount; ++index)
        if (text.EqualsFolded(kKivAttackReleaseModeTexts[index])) return static_cast<KivAttackReleaseMode>(index);
    return KivAttackReleaseMode::kFast;
}

bool KivValueAttackReleaseMode::ParseDisplayText(const KivString& text) {
    int32_t old = GetIndex();
    SetIndex(static_cast<int32_t>(KivAttackReleaseModeFromText(text)));
    return GetIndex() != old;
}
