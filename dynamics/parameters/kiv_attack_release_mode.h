#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "parameters/values/kiv_value_enum.h"

// The shape of the detector's attack and of its release: how fast the measured level moves
// towards the signal. Stored with the product settings by its item text, not a host parameter.
enum class KivAttackReleaseMode : int32_t {
    kSlowest = 0,
    kSlow = 1,
    kMedium = 2,
    kFast = 3,
    kFastest = 4,
    kExtreme = 5,
    kCustom = 6,
    kCustomLogarithmic = 7
};
inline constexpr int32_t kKivAttackReleaseModeCount = 8;
extern const char* const kKivAttackReleaseModeTexts[kKivAttackReleaseModeCount];

KivString KivAttackReleaseModeText(KivAttackReleaseMode mode);
// The mode named by `text`, ignoring case and accents. Empty or unknown text gives the
// everyday "Fast", so a damaged setting never leaves the detector at an extreme.
KivAttackReleaseMode KivAttackReleaseModeFromText(const KivString& text);

// The value object of a mode: eight items at positions i / 7, texts read by name.
class KivValueAttackReleaseMode : public KivValueEnum<KivAttackReleaseMode> {
public:
    explicit KivValueAttackReleaseMode(KivAttackReleaseMode& variable)
        : KivValueEnum(variable, kKivAttackReleaseModeTexts, kKivAttackReleaseModeCount) {
        SetDefaultIndex(static_cast<int32_t>(KivAttackReleaseMode::kFast));
    }

    bool ParseDisplayText(const KivString& text) override;
};
