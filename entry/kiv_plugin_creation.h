#pragma once
#include <memory>

#include "plugin/kiv_audio_plugin.h"

// Builds one plug-in instance as both host entries do: the house plug-in object around the
// shipped product's effect, under the product's names (for TandrelMini: "TandrelMini" by
// "Kestrune", family "Tandrel"). Raises KivException "Error creating plugin." when the effect
// cannot be created.
namespace KivPluginCreation {

std::unique_ptr<KivAudioPlugin> CreatePlugin();
// The same for a host's instance: it also holds the library's module, creating it when it
// is the first instance and destroying it when it is the last to close.
std::unique_ptr<KivAudioPlugin> CreateHostedPlugin();

}  // namespace KivPluginCreation
