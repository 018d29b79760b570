#pragma once
#include <cstdint>

#include "plugin/kiv_audio_plugin.h"

namespace KivHostSetup {

// Rates below this are no audio rates: a host that sends one has not set its rate yet.
inline constexpr int32_t kMinimumSampleRate = 101;

// A host's sample rate as the whole number the plug-in runs at: halves round up, so that
// 44099.5 becomes 44100. Returns 0 for a rate the plug-in should ignore.
int32_t RoundSampleRate(double hostRate) noexcept;

// The plug-in's editor, built when missing (hosts ask for its size before they make the
// window it goes into); null when the plug-in has none.
KivAudioPlugin::KivEditor* EditorOf(KivAudioPlugin& plugin);

}  // namespace KivHostSetup
