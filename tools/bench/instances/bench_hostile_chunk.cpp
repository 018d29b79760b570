// A hostile chunk through the library's VST 2.4 entry: a host (or a damaged project) hands
// effSetChunk the instance's own settings with N extra attributes on the root element, in
// descending order, the worst order for a list kept sorted. The call must not hold the host
// for long: reported as the time of one effSetChunk ("ms" per iteration).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "hosts/vst2/vst2_abi.h"
#include "platform/kiv_dynamic_library.h"

namespace {

intptr_t Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

intptr_t Dispatch(AEffect* effect, int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
}

// The settings with `count` attributes a999999 ... a000000 added to the root element.
std::string Flooded(const std::string& settings, int count) {
    size_t root = settings.find('<');
    while (root != std::string::npos && root + 1 < settings.size() && settings[root + 1] == '?')
        root = settings.find('<', root + 1);
    const size_t nameEnd = settings.find_first_of(" />", root + 1);
    if (root == std::string::npos || nameEnd == std::string::npos) return {};
    std::string attributes;
    attributes.reserve(static_cast<size_t>(count) * 13);
    char attribute[32];
    for (int i = count - 1; i >= 0; --i) {
        std::snprintf(attribute, sizeof attribute, " a%06d=\"1\"", i);
        attributes += attribute;
    }
    return settings.substr(0, nameEnd) + attributes + settings.substr(nameEnd);
}

void BM_SetChunkWithAnAttributeFlood(benchmark::State& state) {
    KivPlatform::DynamicLibrary library;
    if (!library.Load(KIV_TANDREL_MINI_PATH)) {
        state.SkipWithError("the library does not load");
        return;
    }
    auto entry = reinterpret_cast<VstPluginMainProc>(library.Symbol("VSTPluginMain"));
    AEffect* effect = entry ? entry(&Host) : nullptr;
    if (!effect) {
        state.SkipWithError("no instance");
        return;
    }
    Dispatch(effect, effOpen);
    void* chunk = nullptr;
    const intptr_t size = Dispatch(effect, effGetChunk, 0, &chunk);
    std::string document = Flooded(std::string(static_cast<const char*>(chunk), static_cast<size_t>(size > 0 ? size : 0)),
                                   static_cast<int>(state.range(0)));
    if (document.empty()) state.SkipWithError("no settings to flood");
    for (auto _ : state) {
        benchmark::DoNotOptimize(Dispatch(effect, effSetChunk, static_cast<intptr_t>(document.size()), document.data()));
    }
    state.counters["bytes"] = static_cast<double>(document.size());
    Dispatch(effect, effClose);
}
BENCHMARK(BM_SetChunkWithAnAttributeFlood)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
