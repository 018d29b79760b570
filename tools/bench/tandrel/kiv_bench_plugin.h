#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "tools/vst2host/kiv_vst2_plugin.h"

// A VST 2.4 plug-in file loaded and opened as the benches play it: the given rate and block
// size, no call recording. Throws with the host's reason when the file does not load.
std::unique_ptr<KivVst2Plugin> KivOpenBenchPlugin(const std::string& path, int32_t sampleRate, int32_t block);
