#include "tools/bench/tandrel/kiv_render_hash.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/bench/tandrel/kiv_programme_signal.h"
#include "tools/bench/tandrel/kiv_bench_plugin.h"

namespace KivRenderHash {
namespace {

constexpr int32_t kSampleRate = 48000;
constexpr int32_t kBlock = 64;
constexpr int32_t kBlocks = 6000;

uint32_t Next(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

void SetRandom(KivVst2Plugin& plugin, uint32_t& random, int32_t bypass) {
    int32_t index = static_cast<int32_t>(Next(random) % static_cast<uint32_t>(plugin.NumParams()));
    // Bypassed, the render would say nothing about the effect's sound.
    if (index == bypass) index = 0;
    plugin.SetParameter(index, static_cast<float>(Next(random) % 1001u) / 1000.0f);
}

// FNV-1a over the output samples' bits.
uint64_t Render(const std::string& path, const std::vector<std::vector<float>>& signal, uint32_t seed,
                int32_t changesPerBlock) {
    const std::unique_ptr<KivVst2Plugin> opened = KivOpenBenchPlugin(path, kSampleRate, kBlock);
    KivVst2Plugin& plugin = *opened;
    int32_t bypass = -1;
    for (int32_t index = 0; index < plugin.NumParams(); ++index)
        if (plugin.ParameterName(index).rfind("Bypass", 0) == 0) bypass = index;
    uint32_t random = seed;
    for (int32_t i = 0; i < 200; ++i) SetRandom(plugin, random, bypass);
    std::vector<float> silence(kBlock, 0.0f);
    std::vector<std::vector<float>> outputs(static_cast<size_t>(std::max(2, plugin.NumOutputs())),
                                            std::vector<float>(kBlock));
    std::vector<float*> out;
    for (auto& channel : outputs) out.push_back(channel.data());
    uint64_t hash = 14695981039346656037ull;
    for (int32_t block = 0; block < kBlocks; ++block) {
        for (int32_t i = 0; i < changesPerBlock; ++i) SetRandom(plugin, random, bypass);
        std::vector<float*> in(static_cast<size_t>(std::max(2, plugin.NumInputs())), silence.data());
        in[0] = const_cast<float*>(signal[0].data() + block * kBlock);
        in[1] = const_cast<float*>(signal[1].data() + block * kBlock);
        plugin.ProcessReplacing(in.data(), out.data(), kBlock);
        for (int32_t c = 0; c < 2; ++c) {
            for (float sample : outputs[static_cast<size_t>(c)]) {
                uint32_t bits;
                std::memcpy(&bits, &sample, sizeof(bits));
                for (int32_t byte = 0; byte < 4; ++byte) hash = (hash ^ ((bits >> (8 * byte)) & 0xFFu)) * 1099511628211ull;
            }
        }
    }
    return hash;
}

}  // namespace

int Run(int argc, char** argv) {
    const std::vector<std::vector<float>> signal = KivProgrammeSignal::Generate(kSampleRate, int64_t{kBlock} * kBlocks);
    std::printf("Digest of %d blocks of %d frames at %d Hz, settings drawn from the seed\n\n", kBlocks, kBlock,
                kSampleRate);
    std::printf("| plug-in | seed | changes per block | digest |\n|---|---:|---:|---|\n");
    for (int i = 0; i < argc; ++i) {
        for (uint32_t seed : {1u, 2u, 3u, 4u}) {
            for (int32_t changes : {0, 1, 8}) {
                std::printf("| %s | %u | %d | %016llx |\n", argv[i], seed, changes,
                            static_cast<unsigned long long>(Render(argv[i], signal, seed, changes)));
                std::fflush(stdout);
            }
        }
    }
    return 0;
}

}  // namespace KivRenderHash
