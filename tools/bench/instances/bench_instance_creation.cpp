// Opening a large session: a host creates 100 stereo TandrelMini instances at 48 kHz with
// look-ahead off (the factory setting), through the library's VST 2.4 entry, and readies them
// for processing (open, sample rate, block size, resume). Reported per instance: the time
// ("us/instance") and, where the C library tells, the heap the instances keep
// ("bytes/instance"). Closing them is not timed.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "hosts/vst2/vst2_abi.h"
#include "platform/kiv_dynamic_library.h"

namespace {

constexpr int32_t kInstances = 100;
constexpr float kSampleRate = 48000.0f;
constexpr intptr_t kBlockSize = 512;

intptr_t Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

int64_t HeapInUse() {
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return static_cast<int64_t>(info.uordblks + info.hblkhd);
#else
    return -1;
#endif
}

AEffect* Create(VstPluginMainProc entry) {
    AEffect* effect = entry(&Host);
    if (!effect) return nullptr;
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, kSampleRate);
    effect->dispatcher(effect, effSetBlockSize, 0, kBlockSize, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    return effect;
}

void Close(AEffect* effect) {
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

void BM_CreateHundredStereoInstances(benchmark::State& state) {
    KivPlatform::DynamicLibrary library;
    if (!library.Load(KIV_TANDREL_MINI_PATH)) {
        state.SkipWithError("the library does not load");
        return;
    }
    auto entry = reinterpret_cast<VstPluginMainProc>(library.Symbol("VSTPluginMain"));
    // The first instance of a process builds the module: not part of opening a session.
    Close(Create(entry));
    std::vector<AEffect*> effects;
    effects.reserve(kInstances);
    int64_t heapPerInstance = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        const int64_t before = HeapInUse();
        const auto start = std::chrono::steady_clock::now();
        for (int32_t i = 0; i < kInstances; ++i) effects.push_back(Create(entry));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        heapPerInstance = (HeapInUse() - before) / kInstances;
        state.PauseTiming();
        for (AEffect* effect : effects)
            if (effect) Close(effect);
        effects.clear();
        state.ResumeTiming();
    }
    if (state.iterations() > 0)
        state.counters["us/instance"] = seconds * 1e6 / (static_cast<double>(state.iterations()) * kInstances);
    if (heapPerInstance >= 0) state.counters["bytes/instance"] = static_cast<double>(heapPerInstance);
}
BENCHMARK(BM_CreateHundredStereoInstances)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
