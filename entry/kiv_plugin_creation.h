#pragma once
#include <memory>

#include "plugin/kiv_audio_plugin.h"

// Builds one plug-in instance as both host entries do: the house plug-in object around the
// product effect, named "TandrelMini" by "Kestrune", family "Tandrel". Raises KivException
// "Error creating plugin." when the effect cannot be created.
namespace KivPluginCreation {

constexpr const char* kPluginName = "TandrelMini";
constexpr const char* kVendor = "Kestrune";
constexpr const char* kFamilyName = "Tandrel";

std::unique_ptr<KivAudioPlugin> CreatePlugin();

}  // namespace KivPluginCreation
