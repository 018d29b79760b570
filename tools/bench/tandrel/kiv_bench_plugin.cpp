#include "tools/bench/tandrel/kiv_bench_plugin.h"

#include <stdexcept>

std::unique_ptr<KivVst2Plugin> KivOpenBenchPlugin(const std::string& path, int32_t sampleRate, int32_t block) {
    KivVst2HostSettings settings;
    settings.sampleRate = sampleRate;
    settings.blockSize = block;
    settings.recordCalls = false;
    auto plugin = std::make_unique<KivVst2Plugin>();
    if (!plugin->Load(path, settings)) throw std::runtime_error(path + ": " + plugin->ErrorText());
    plugin->Open();
    return plugin;
}
