#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// The names hosts show for the plug-in's channels. Inputs are the main bus followed by the
// side-chain buses, each `channelsPerGroup` wide; with 8 channels per group (surround) the
// channels are numbered instead of called L and R.
namespace KivChannelNames {

// "In L", "In R", "Sidechain L", "Sidechain L 2", "In 3", "Sidechain 1 3".
KivString Input(int32_t index, int32_t inputBuses, int32_t channelsPerGroup);
// "Out L", "Out R", "Out 5".
KivString Output(int32_t index, int32_t channelsPerGroup);

}  // namespace KivChannelNames
