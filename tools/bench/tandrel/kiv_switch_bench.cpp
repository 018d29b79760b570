#include "tools/bench/tandrel/kiv_switch_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "tools/bench/tandrel/kiv_bench_plugin.h"

namespace KivSwitchBench {
namespace {

constexpr int32_t kBlock = 512;
constexpr int32_t kBlocksPerKind = 1000;

struct Times {
    std::vector<double> held, switching;
};

void Measure(const std::string& path, Times& times) {
    const std::unique_ptr<KivVst2Plugin> opened = KivOpenBenchPlugin(path, 44100, kBlock);
    KivVst2Plugin& plugin = *opened;
    int32_t bypass = -1;
    for (int32_t index = 0; index < plugin.NumParams() && bypass < 0; ++index)
        if (plugin.ParameterName(index).rfind("Bypass", 0) == 0) bypass = index;
    if (bypass < 0) throw std::runtime_error(path + ": no \"Bypass\" parameter");
    std::vector<float> input(kBlock), silence(kBlock);
    for (int32_t i = 0; i < kBlock; ++i) input[static_cast<size_t>(i)] = 0.003f * static_cast<float>((i * 37) % 100);
    std::vector<std::vector<float>> outputs(static_cast<size_t>(std::max(2, plugin.NumOutputs())),
                                            std::vector<float>(kBlock));
    // One input per declared pin: the pair, then silence for a side-chain.
    std::vector<float*> in(static_cast<size_t>(std::max(2, plugin.NumInputs())), silence.data());
    in[0] = in[1] = input.data();
    std::vector<float*> out;
    for (auto& channel : outputs) out.push_back(channel.data());
    for (int32_t block = 0; block < 2 * kBlocksPerKind; ++block) {
        const bool switching = block >= kBlocksPerKind;
        if (switching) plugin.SetParameter(bypass, block % 2 ? 1.0f : 0.0f);
        const auto start = std::chrono::steady_clock::now();
        plugin.ProcessReplacing(in.data(), out.data(), kBlock);
        const double took = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        if (block % kBlocksPerKind >= 10) (switching ? times.switching : times.held).push_back(took);
    }
}

void Print(const std::string& path, Times& times) {
    std::sort(times.held.begin(), times.held.end());
    std::sort(times.switching.begin(), times.switching.end());
    std::printf("| %s | %.1f | %.1f | %.1f | %.1f |\n", path.c_str(), times.held.front(),
                times.held[times.held.size() / 2], times.switching.front(), times.switching[times.switching.size() / 2]);
}

}  // namespace

int Run(const std::vector<std::string>& paths) {
    std::vector<Times> times(paths.size());
    for (int32_t round = 0; round < 3; ++round)
        for (size_t i = 0; i < paths.size(); ++i) Measure(paths[i], times[i]);
    std::printf("Blocks of %d at 44.1 kHz, bypass held against switched at every block; us\n\n", kBlock);
    std::printf("| plug-in | held fastest | held median | switching fastest | switching median |\n|---|---:|---:|---:|---:|\n");
    for (size_t i = 0; i < paths.size(); ++i) Print(paths[i], times[i]);
    return 0;
}

}  // namespace KivSwitchBench
