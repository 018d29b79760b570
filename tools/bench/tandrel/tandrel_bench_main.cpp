// tandrel-bench: the processing cost of VST 2.4 plug-in files, loaded as a host loads them.
// Every plug-in runs the same programme-like stereo signal at 48 kHz in blocks of 512; the
// plug-ins take turns round by round so that they share the machine's state, and each keeps
// its fastest round. `--set NAME=TEXT` sets a parameter of the plug-in named just before it by
// its display text ("Mode=Linear", "Ratio=4.00 : 1") or by host value ("Look-ahead=#0.2659"), so
// one file can run in several variants; the table shows the display text that resulted. Reports nanoseconds per stereo frame and a table of ratios: every contender's
// time divided by the time of each other plug-in file at its first (usually default) setting.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tools/bench/tandrel/kiv_contention_bench.h"
#include "tools/bench/tandrel/kiv_programme_signal.h"
#include "tools/bench/tandrel/kiv_render_hash.h"
#include "tools/bench/tandrel/kiv_switch_bench.h"
#include "tools/render/kiv_parameter_lookup.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

constexpr int32_t kSampleRate = 48000;
constexpr int32_t kBlockSize = 512;

struct Assignment {
    std::string name;
    std::string text;
};

struct Contender {
    std::string path;
    std::vector<Assignment> assignments;
    std::string label;
    std::unique_ptr<KivVst2Plugin> plugin;
    std::vector<std::vector<float>> outputs;
    double bestSeconds = 1e300;
};

std::string Lowered(const std::string& text) {
    std::string lowered;
    for (unsigned char c : text) lowered += static_cast<char>(std::tolower(c));
    return lowered;
}

// Hosts see at most 24 characters of a name, and TandrelMini adds its group in brackets
// ("Mode (General parameters"): the first parameter whose name before " (" matches.
std::optional<int32_t> FindByShortName(KivVst2Plugin& plugin, const std::string& name) {
    for (int32_t index = 0; index < plugin.NumParams(); ++index) {
        const std::string shown = plugin.ParameterName(index);
        if (Lowered(shown.substr(0, shown.find(" ("))) == Lowered(name)) return index;
    }
    return std::nullopt;
}

// The parameter's index; the error names every parameter the plug-in has.
int32_t FindParameter(KivVst2Plugin& plugin, const std::string& name) {
    try {
        return KivParameterLookup::FindIndex(plugin, name);
    } catch (const std::runtime_error& error) {
        if (const std::optional<int32_t> index = FindByShortName(plugin, name)) return *index;
        std::string names;
        for (int32_t index = 0; index < plugin.NumParams(); ++index) names += "\n  " + plugin.ParameterName(index);
        throw std::runtime_error(std::string(error.what()) + "; the parameters are:" + names);
    }
}

void Load(Contender& contender) {
    KivVst2HostSettings settings;
    settings.sampleRate = kSampleRate;
    settings.blockSize = kBlockSize;
    contender.plugin = std::make_unique<KivVst2Plugin>();
    if (!contender.plugin->Load(contender.path, settings))
        throw std::runtime_error(contender.path + ": " + contender.plugin->ErrorText());
    contender.plugin->Open();
    contender.label = contender.plugin->EffectName();
    for (const Assignment& assignment : contender.assignments) {
        const int32_t index = FindParameter(*contender.plugin, assignment.name);
        if (assignment.text.starts_with('#')) contender.plugin->SetParameter(index, std::stof(assignment.text.substr(1)));
        else KivParameterLookup::ValueForDisplay(*contender.plugin, index, assignment.text);
        contender.label += " " + assignment.name + "=" + contender.plugin->ParameterDisplay(index);
    }
}

Assignment ParseAssignment(const std::string& text) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos) throw std::runtime_error("--set wants NAME=TEXT, not \"" + text + "\"");
    return {text.substr(0, equals), text.substr(equals + 1)};
}

double NanosecondsPerFrame(const Contender& contender, int64_t frames) {
    return contender.bestSeconds * 1e9 / static_cast<double>(frames);
}

// The first contender of every plug-in file other than the first file: the peers.
std::vector<const Contender*> Peers(const std::vector<Contender>& contenders) {
    std::vector<const Contender*> peers;
    for (const Contender& contender : contenders) {
        if (contender.path == contenders.front().path) continue;
        bool seen = false;
        for (const Contender* peer : peers) seen = seen || peer->path == contender.path;
        if (!seen) peers.push_back(&contender);
    }
    return peers;
}

void PrintRatioTable(const std::vector<Contender>& contenders, int64_t frames) {
    const std::vector<const Contender*> peers = Peers(contenders);
    std::printf("\n| contender | ns/frame |");
    for (const Contender* peer : peers) std::printf(" / %s |", peer->label.c_str());
    std::printf("\n|---|---:|");
    for (size_t i = 0; i < peers.size(); ++i) std::printf("---:|");
    std::printf("\n");
    for (const Contender& contender : contenders) {
        std::printf("| %s | %.2f |", contender.label.c_str(), NanosecondsPerFrame(contender, frames));
        for (const Contender* peer : peers) std::printf(" %.2f |", contender.bestSeconds / peer->bestSeconds);
        std::printf("\n");
    }
}

double TimeOneRound(Contender& contender, const std::vector<std::vector<float>>& signal, int64_t frames) {
    const auto start = std::chrono::steady_clock::now();
    contender.plugin->ProcessInBlocks(signal, contender.outputs, frames);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--saves-behind-switching") {
        const int32_t runs = argc >= 5 && std::string(argv[3]) == "--runs" ? std::max(1, std::atoi(argv[4])) : 1;
        try {
            return KivContentionBench::RunSavesBehindSwitching(argv[2], runs);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "tandrel-bench: %s\n", error.what());
            return 1;
        }
    }
    if (argc >= 3 && std::string(argv[1]) == "--render-hash") {
        try {
            return KivRenderHash::Run(argc - 2, argv + 2);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "tandrel-bench: %s\n", error.what());
            return 1;
        }
    }
    if (argc >= 3 && std::string(argv[1]) == "--bypass-switches") {
        try {
            return KivSwitchBench::Run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "tandrel-bench: %s\n", error.what());
            return 1;
        }
    }
    if (argc >= 3 && std::string(argv[1]) == "--contention") {
        KivContentionBench::Options options;
        for (int i = 3; i < argc; ++i) {
            const std::string argument = argv[i];
            if (argument == "--blocks" && i + 1 < argc) options.blocks = std::max(100, std::atoi(argv[++i]));
            else if (argument == "--runs" && i + 1 < argc) options.runs = std::max(1, std::atoi(argv[++i]));
            else if (argument == "--load" && i + 1 < argc) options.load = argv[++i];
            else if (argument == "--parameters" && i + 1 < argc) options.parameters = argv[++i];
            else if (argument == "--ordinary-scheduling") options.realTime = false;
            else if (argument == "--longest" && i + 1 < argc) options.longest = std::max(0, std::atoi(argv[++i]));
            else if (argument == "--warm-up" && i + 1 < argc) options.warmUp = std::max(0, std::atoi(argv[++i]));
            else if (argument == "--frames" && i + 1 < argc) options.frames = std::max(1, std::atoi(argv[++i]));
            else {
                std::fprintf(stderr, "tandrel-bench: unknown option \"%s\"\n", argument.c_str());
                return 2;
            }
        }
        try {
            return KivContentionBench::Run(argv[2], options);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "tandrel-bench: %s\n", error.what());
            return 1;
        }
    }
    std::vector<Contender> contenders;
    std::vector<std::pair<size_t, std::string>> assignments;  // contenders before it, NAME=TEXT
    double seconds = 10.0;
    int rounds = 7;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
        else if (argument == "--rounds" && i + 1 < argc) rounds = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--set" && i + 1 < argc) assignments.push_back({contenders.size(), argv[++i]});
        else contenders.push_back(Contender{argument, {}, {}, nullptr, {}, 1e300});
    }
    if (contenders.empty()) {
        std::fprintf(stderr, "usage: tandrel-bench [--seconds S] [--rounds R] PLUGIN [--set NAME=TEXT]...\n"
                             "       tandrel-bench --contention PLUGIN [--blocks N] [--runs R] [--load TEXT] [--parameters NAME]\n"
                             "           [--ordinary-scheduling] [--longest K] [--warm-up N] [--frames F]\n"
                             "       tandrel-bench --saves-behind-switching PLUGIN [--runs R]\n"
                             "       tandrel-bench --bypass-switches PLUGIN...\n"
                             "       tandrel-bench --render-hash PLUGIN...\n");
        return 2;
    }
    try {
        for (const auto& [after, text] : assignments) {
            if (after == 0) throw std::runtime_error("--set comes after the plug-in file it sets");
            contenders[after - 1].assignments.push_back(ParseAssignment(text));
        }
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
            std::printf("%9.2f ns/frame  x%6.2f  %s (%s)\n", NanosecondsPerFrame(contender, frames),
                        contender.bestSeconds / reference, contender.label.c_str(), contender.path.c_str());
        PrintRatioTable(contenders, frames);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tandrel-bench: %s\n", error.what());
        return 1;
    }
}
