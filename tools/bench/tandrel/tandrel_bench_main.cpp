// tandrel-bench: the processing cost of VST 2.4 plug-in files, loaded as a host loads them.
// Every plug-in runs the same programme-like stereo signal at 48 kHz in blocks of 512; the
// plug-ins take turns round by round so that they share the machine's state, and each keeps
// its fastest round. Reports nanoseconds per stereo frame and the ratio to the first file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/bench/tandrel/kiv_programme_signal.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

constexpr int32_t kSampleRate = 48000;
constexpr int32_t kBlockSize = 512;

struct Contender {
    std::string path;
    std::unique_ptr<KivVst2Plugin> plugin;
    std::vector<std::vector<float>> outputs;
    double bestSeconds = 1e300;
};

void Load(Contender& contender) {
    KivVst2HostSettings settings;
    settings.sampleRate = kSampleRate;
    settings.blockSize = kBlockSize;
    contender.plugin = std::make_unique<KivVst2Plugin>();
    if (!contender.plugin->Load(contender.path, settings))
        throw std::runtime_error(contender.path + ": " + contender.plugin->ErrorText());
    contender.plugin->Open();
}

double TimeOneRound(Contender& contender, const std::vector<std::vector<float>>& signal, int64_t frames) {
    const auto start = std::chrono::steady_clock::now();
    contender.plugin->ProcessInBlocks(signal, contender.outputs, frames);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Contender> contenders;
    double seconds = 10.0;
    int rounds = 7;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
        else if (argument == "--rounds" && i + 1 < argc) rounds = std::max(1, std::atoi(argv[++i]));
        else contenders.push_back(Contender{argument, nullptr, {}, 1e300});
    }
    if (contenders.empty()) {
        std::fprintf(stderr, "usage: tandrel-bench [--seconds S] [--rounds R] PLUGIN...\n");
        return 2;
    }
    try {
        const int64_t frames = static_cast<int64_t>(seconds * kSampleRate);
        const std::vector<std::vector<float>> signal = KivProgrammeSignal::Generate(kSampleRate, frames);
        for (Contender& contender : contenders) Load(contender);
        for (Contender& contender : contenders) TimeOneRound(contender, signal, frames);  // warm-up
        for (int round = 0; round < rounds; ++round)
            for (Contender& contender : contenders)
                contender.bestSeconds = std::min(contender.bestSeconds, TimeOneRound(contender, signal, frames));
        std::printf("%.1f s stereo programme at %d Hz, blocks of %d, best of %d rounds\n", seconds, kSampleRate,
                    kBlockSize, rounds);
        const double reference = contenders.front().bestSeconds;
        for (const Contender& contender : contenders)
            std::printf("%9.2f ns/frame  x%6.2f  %s (%s)\n", contender.bestSeconds * 1e9 / static_cast<double>(frames),
                        contender.bestSeconds / reference, contender.plugin->EffectName().c_str(), contender.path.c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tandrel-bench: %s\n", error.what());
        return 1;
    }
}
