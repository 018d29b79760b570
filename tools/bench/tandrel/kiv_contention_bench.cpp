#include "tools/bench/tandrel/kiv_contention_bench.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "hosts/vst2/kiv_vst_editor_snapshot.h"
#include "platform/kiv_scheduling.h"
#include "tools/bench/tandrel/kiv_bench_plugin.h"
#include "tools/bench/tandrel/kiv_block_costs.h"
#include "tools/bench/tandrel/kiv_programme_signal.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace KivContentionBench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kSampleRate = 48000;
constexpr int64_t kSignalFrames = 10 * kSampleRate;

double Microseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::micro>(duration).count();
}

// A second host thread's work, repeated for as long as the audio thread plays.
struct Load {
    const char* name;
    // Prepares the plug-in for the load on the main thread; false when it does not apply.
    std::function<bool(KivVst2Plugin&)> prepare;
    std::function<void(KivVst2Plugin&, uint32_t& random)> step;
    std::function<void(KivVst2Plugin&)> finish;
    // MIDI program changes sent with every eighth block: the plug-in switches preset slots on
    // a thread of its own while the audio thread plays.
    bool programChanges = false;
};

uint32_t Next(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// The host indices picked by `text`, a comma-separated list of name parts: those whose names
// contain any part without "!" (all when there is none) and none of the parts after a "!".
std::vector<int32_t> ParametersNamed(KivVst2Plugin& plugin, const std::string& text) {
    std::vector<std::string> wanted, unwanted;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(',', start), text.size());
        const std::string part = text.substr(start, end - start);
        if (part.starts_with('!')) unwanted.push_back(part.substr(1));
        else if (!part.empty()) wanted.push_back(part);
        start = end + 1;
    }
    const auto contains = [](const std::string& name, const std::vector<std::string>& parts) {
        return std::any_of(parts.begin(), parts.end(), [&](const std::string& part) { return name.find(part) != std::string::npos; });
    };
    std::vector<int32_t> indices;
    for (int32_t index = 0; index < plugin.NumParams(); ++index) {
        const std::string name = plugin.ParameterName(index);
        if ((wanted.empty() || contains(name, wanted)) && !contains(name, unwanted)) indices.push_back(index);
    }
    return indices;
}

std::vector<Load> Loads(const Options& options) {
    auto automated = std::make_shared<std::vector<int32_t>>();
    auto always = [](KivVst2Plugin&) { return true; };
    auto nothing = [](KivVst2Plugin&) {};
    auto hasChunks = [](KivVst2Plugin& plugin) { return plugin.HasFlag(effFlagsProgramChunks); };
    auto snapshot = [](KivVst2Plugin& plugin, KivVstEditorSnapshot::Step step) {
        return plugin.Dispatch(effVendorSpecific, KivVstEditorSnapshot::kIndex, step) == 1;
    };
    return {
        {"none", always, nullptr, nothing},
        {"effGetChunk", hasChunks, [](KivVst2Plugin& plugin, uint32_t&) { plugin.GetChunk(); }, nothing},
        {"effGetChunk + effSetChunk", hasChunks,
         [](KivVst2Plugin& plugin, uint32_t&) { plugin.SetChunk(plugin.GetChunk()); }, nothing},
        {"setParameter (random)",
         [automated, text = options.parameters](KivVst2Plugin& plugin) {
             *automated = ParametersNamed(plugin, text);
             return !automated->empty();
         },
         [automated](KivVst2Plugin& plugin, uint32_t& random) {
             const auto pick = Next(random) % static_cast<uint32_t>(automated->size());
             plugin.SetParameter((*automated)[pick], static_cast<float>(Next(random) % 1001u) / 1000.0f);
         },
         nothing},
        // The settings the load above wanders through cost time of their own (a look-ahead,
        // channels unlinked, both processors on): this reference plays one such setting,
        // another in each run, with no load.
        {"random settings held, no load",
         [automated, text = options.parameters, seed = std::make_shared<uint32_t>(12345)](KivVst2Plugin& plugin) {
             *automated = ParametersNamed(plugin, text);
             for (int32_t i = 0; i < 1000 && !automated->empty(); ++i) {
                 const auto pick = Next(*seed) % static_cast<uint32_t>(automated->size());
                 plugin.SetParameter((*automated)[pick], static_cast<float>(Next(*seed) % 1001u) / 1000.0f);
             }
             return !automated->empty();
         },
         nullptr, nothing},
        {"program switches (effSetProgram)", [](KivVst2Plugin& plugin) { return plugin.NumPrograms() > 1; },
         [](KivVst2Plugin& plugin, uint32_t& random) {
             plugin.Dispatch(effSetProgram, 0, static_cast<intptr_t>(Next(random) % plugin.NumPrograms()));
         },
         nothing},
        {"slot switches (MIDI program change)", [](KivVst2Plugin& plugin) { return plugin.CanDo("receiveVstMidiEvent") == 1; },
         nullptr, nothing, true},
        {"editor refresh", [snapshot](KivVst2Plugin& plugin) { return snapshot(plugin, KivVstEditorSnapshot::kStart); },
         [snapshot](KivVst2Plugin& plugin, uint32_t&) { snapshot(plugin, KivVstEditorSnapshot::kRefresh); },
         [snapshot](KivVst2Plugin& plugin) { snapshot(plugin, KivVstEditorSnapshot::kEnd); }},
    };
}

std::unique_ptr<KivVst2Plugin> Open(const std::string& path, int32_t block) {
    return KivOpenBenchPlugin(path, kSampleRate, block);
}

// Plays the programme in blocks of `block` frames; `pause` after each block.
class Player {
public:
    Player(KivVst2Plugin& plugin, const std::vector<std::vector<float>>& signal, int32_t block)
        : plugin_(plugin), signal_(signal), block_(block), outputs_(std::max(2, plugin.NumOutputs())),
          silence_(static_cast<size_t>(block), 0.0f) {
        for (auto& channel : outputs_) channel.assign(static_cast<size_t>(block), 0.0f);
    }
    KivBlockCosts::Cost Play() {
        // One input per pin the plug-in declares; inputs beyond the stereo pair (a side-chain) are silent.
        std::vector<float*> inputs(static_cast<size_t>(std::max(2, plugin_.NumInputs())), silence_.data());
        inputs[0] = const_cast<float*>(signal_[0].data() + offset_);
        inputs[1] = const_cast<float*>(signal_[1].data() + offset_);
        std::vector<float*> outputs;
        for (auto& channel : outputs_) outputs.push_back(channel.data());
        meter_.Start();
        const Clock::time_point start = Clock::now();
        plugin_.ProcessReplacing(inputs.data(), outputs.data(), block_);
        const Clock::duration took = Clock::now() - start;
        offset_ += block_;
        if (offset_ + block_ > static_cast<int64_t>(signal_[0].size())) offset_ = 0;
        return meter_.Stop(Microseconds(took));
    }
    const std::vector<float>& Left() const { return outputs_[0]; }

private:
    KivVst2Plugin& plugin_;
    const std::vector<std::vector<float>>& signal_;
    int32_t block_;
    int64_t offset_ = 0;
    std::vector<std::vector<float>> outputs_;
    std::vector<float> silence_;
    KivBlockCosts::Meter meter_;
};

using KivBlockCosts::Figures;
using KivBlockCosts::Percentiles;

// The measuring thread plays in the audio scheduling class while it lives. Threads it starts
// meanwhile would inherit the class, so the load thread is started before.
class AudioScheduling {
public:
    explicit AudioScheduling(bool realTime) : raised_(realTime && KivPlatform::SetAudioThreadScheduling(true)) {}
    ~AudioScheduling() {
        if (raised_) KivPlatform::SetAudioThreadScheduling(false);
    }
    AudioScheduling(const AudioScheduling&) = delete;
    AudioScheduling& operator=(const AudioScheduling&) = delete;
    bool Raised() const { return raised_; }

private:
    bool raised_;
};

struct Measured {
    KivBlockCosts::Summary summary;
    int64_t steps;
    std::string longest;  // the longest blocks, one line each
    std::vector<KivBlockCosts::Cost> costs;
};

// Nothing when the load does not apply to the plug-in.
std::optional<Measured> MeasureLoad(const std::string& path, const Load& load, int32_t block, int32_t blocks,
                                    const std::vector<std::vector<float>>& signal, bool realTime, int32_t longest,
                                    int32_t warmUp) {
    std::unique_ptr<KivVst2Plugin> plugin = Open(path, block);
    if (!load.prepare(*plugin)) return std::nullopt;
    Player player(*plugin, signal, block);
    for (int32_t i = 0; i < warmUp; ++i) player.Play();
    const auto pause = std::chrono::microseconds(static_cast<int64_t>(250000.0 * block / kSampleRate));
    std::atomic<bool> playing{true};
    std::atomic<int64_t> steps{0};
    std::thread other;
    if (load.step) {
        other = std::thread([&] {
            uint32_t random = 12345;
            while (playing.load(std::memory_order_relaxed)) {
                load.step(*plugin, random);
                steps.fetch_add(1, std::memory_order_relaxed);
            }
        });
        while (steps.load() == 0) std::this_thread::yield();
    }
    std::vector<KivBlockCosts::Cost> costs;
    costs.reserve(static_cast<size_t>(blocks));
    std::optional<AudioScheduling> scheduling(std::in_place, realTime);
    for (int32_t i = 0; i < blocks; ++i) {
        if (load.programChanges && i % 8 == 0) {
            KivVst2MidiMessage change;
            change.bytes[0] = 0xC0;
            change.bytes[1] = static_cast<uint8_t>((i / 8) % 8);
            plugin->ProcessEvents({change});
            steps.fetch_add(1, std::memory_order_relaxed);
        }
        costs.push_back(player.Play());
        std::this_thread::sleep_for(pause);
    }
    scheduling.reset();
    playing.store(false);
    if (other.joinable()) other.join();
    load.finish(*plugin);
    return Measured{KivBlockCosts::Summarise(costs), steps.load(), KivBlockCosts::Longest(costs, longest), costs};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

// Each time is the median of its runs; the counts add up over all runs. Returns the median
// block's wall time, or nothing when the load does not apply.
std::optional<double> ReportLoad(const std::string& path, const Load& load, int32_t block, const Options& options,
                const std::vector<std::vector<float>>& signal) {
    std::vector<double> median, p99, p999, worst, cpuMedian, cpuP99, cpuWorst, steps;
    int64_t switched = 0, waited = 0, faults = 0, longBlocks = 0, longOnProcessor = 0;
    std::string longest;
    std::vector<std::vector<KivBlockCosts::Cost>> runs;
    for (int32_t run = 0; run < options.runs; ++run) {
        const std::optional<Measured> measured =
            MeasureLoad(path, load, block, options.blocks, signal, options.realTime, options.longest, options.warmUp);
        if (!measured) {
            std::printf("| %s | %d | n/a | n/a | n/a | n/a | 0 |\n", load.name, block);
            return std::nullopt;
        }
        runs.push_back(measured->costs);
        const KivBlockCosts::Summary& summary = measured->summary;
        median.push_back(summary.wall.median);
        p99.push_back(summary.wall.p99);
        p999.push_back(summary.wall.p999);
        worst.push_back(summary.wall.worst);
        cpuMedian.push_back(summary.cpu.median);
        cpuP99.push_back(summary.cpu.p99);
        cpuWorst.push_back(summary.cpu.worst);
        switched += summary.switchedBlocks;
        waited += summary.waitedBlocks;
        faults += summary.minorFaults;
        longBlocks += summary.longBlocks;
        longOnProcessor += summary.longOnProcessor;
        steps.push_back(static_cast<double>(measured->steps));
        if (!measured->longest.empty()) longest += "  run " + std::to_string(run + 1) + ":\n" + measured->longest;
    }
    std::printf("| %s | %d | %.1f | %.1f | %.1f | %.1f |", load.name, block, Median(median), Median(p99), Median(p999),
                Median(worst));
    if (options.runs > 1) {
        std::printf(" %.1f .. %.1f | %.1f |", *std::min_element(worst.begin(), worst.end()),
                    *std::max_element(worst.begin(), worst.end()), KivBlockCosts::Summarise(KivBlockCosts::FastestOfRuns(runs)).wall.worst);
    }
    std::printf(" %.1f / %.1f / %.1f | %lld | %lld | %lld | %lld (%lld) |", Median(cpuMedian), Median(cpuP99),
                Median(cpuWorst), static_cast<long long>(switched), static_cast<long long>(waited),
                static_cast<long long>(faults),
                static_cast<long long>(longBlocks), static_cast<long long>(longOnProcessor));
    std::printf(" %d (%.0f load steps) |\n", options.blocks, Median(steps));
    if (options.runs > 1 && options.longest > 0)
        longest += "  fastest run of each block:\n" + KivBlockCosts::Longest(KivBlockCosts::FastestOfRuns(runs), options.longest);
    if (!longest.empty()) std::printf("%s", longest.c_str());
    std::fflush(stdout);
    return Median(median);
}

// The machine alone: a fixed piece of arithmetic as long as the plug-in's median block, played
// at the same pace in the same scheduling class. Its spread is what the machine adds to equal
// work; a plug-in block beyond it has a cause of its own.
void ReportMachineReference(int32_t block, double microseconds, const Options& options) {
    const KivBlockCosts::FixedWork work(microseconds);
    const auto pause = std::chrono::microseconds(static_cast<int64_t>(250000.0 * block / kSampleRate));
    std::vector<double> median, p99, p999, worst;
    std::vector<std::vector<KivBlockCosts::Cost>> runs;
    std::string longest;
    KivBlockCosts::Summary total;
    for (int32_t run = 0; run < options.runs; ++run) {
        std::vector<KivBlockCosts::Cost> costs;
        costs.reserve(static_cast<size_t>(options.blocks));
        const AudioScheduling scheduling(options.realTime);
        KivBlockCosts::Meter meter;
        for (int32_t i = 0; i < options.blocks; ++i) {
            meter.Start();
            const Clock::time_point start = Clock::now();
            work.Run();
            costs.push_back(meter.Stop(Microseconds(Clock::now() - start)));
            std::this_thread::sleep_for(pause);
        }
        const KivBlockCosts::Summary summary = KivBlockCosts::Summarise(costs);
        median.push_back(summary.wall.median);
        p99.push_back(summary.wall.p99);
        p999.push_back(summary.wall.p999);
        worst.push_back(summary.wall.worst);
        total.switchedBlocks += summary.switchedBlocks;
        total.waitedBlocks += summary.waitedBlocks;
        total.minorFaults += summary.minorFaults;
        total.longBlocks += summary.longBlocks;
        total.longOnProcessor += summary.longOnProcessor;
        const std::string lines = KivBlockCosts::Longest(costs, options.longest);
        if (!lines.empty()) longest += "  run " + std::to_string(run + 1) + ":\n" + lines;
        runs.push_back(std::move(costs));
    }
    std::printf("| machine alone: fixed arithmetic, no plug-in | %d | %.1f | %.1f | %.1f | %.1f |", block, Median(median),
                Median(p99), Median(p999), Median(worst));
    if (options.runs > 1) {
        std::printf(" %.1f .. %.1f | %.1f |", *std::min_element(worst.begin(), worst.end()),
                    *std::max_element(worst.begin(), worst.end()), KivBlockCosts::Summarise(KivBlockCosts::FastestOfRuns(runs)).wall.worst);
    }
    std::printf(" | %lld | %lld | %lld | %lld (%lld) | %d |\n", static_cast<long long>(total.switchedBlocks),
                static_cast<long long>(total.waitedBlocks), static_cast<long long>(total.minorFaults), static_cast<long long>(total.longBlocks),
                static_cast<long long>(total.longOnProcessor), options.blocks);
    if (!longest.empty()) std::printf("%s", longest.c_str());
    std::fflush(stdout);
}

// The output gain moves between two host values on the audio thread, between blocks, as a host
// plays automation; blocks come at their real-time pace on constant input. The delay is counted
// from the setParameter call to the start of the first block whose output has the new gain.
void MeasureAutomationDelay(const std::string& path, int32_t block, bool realTime) {
    std::unique_ptr<KivVst2Plugin> plugin = Open(path, block);
    const AudioScheduling scheduling(realTime);
    int32_t gain = -1;
    for (int32_t index = 0; index < plugin->NumParams() && gain < 0; ++index)
        if (plugin->ParameterName(index).rfind("Output gain", 0) == 0) gain = index;
    if (gain < 0) {
        std::printf("| %d | n/a (no \"Output gain\") | | | |\n", block);
        return;
    }
    const std::vector<std::vector<float>> constant(2, std::vector<float>(static_cast<size_t>(kSignalFrames), 0.25f));
    Player player(*plugin, constant, block);
    const auto period = std::chrono::nanoseconds(static_cast<int64_t>(1e9 * block / kSampleRate));
    Clock::time_point next = Clock::now();
    const auto playAtPace = [&] {
        std::this_thread::sleep_until(next);
        next += period;
        player.Play();
        return player.Left()[static_cast<size_t>(block - 1)];
    };
    for (int32_t i = 0; i < 20; ++i) playAtPace();
    std::vector<double> delayBlocks, delayMicroseconds;
    for (int32_t trial = 0; trial < 40; ++trial) {
        const float before = playAtPace();
        plugin->Host().SetProcessing(true);  // the host's real-time thread sets it
        const Clock::time_point set = Clock::now();
        plugin->SetParameter(gain, trial % 2 ? 0.5f : 0.375f);
        plugin->Host().SetProcessing(false);
        for (int32_t waited = 1; waited <= 1000; ++waited) {
            const Clock::time_point started = std::max(Clock::now(), next);
            if (std::fabs(playAtPace() - before) > 0.01f * std::fabs(before)) {
                delayBlocks.push_back(waited);
                delayMicroseconds.push_back(Microseconds(started - set));
                break;
            }
        }
    }
    // How soon a change could be heard at all: blocks back to back right after it.
    std::vector<double> readyMicroseconds;
    for (int32_t trial = 0; trial < 40; ++trial) {
        const float before = playAtPace();
        plugin->Host().SetProcessing(true);
        const Clock::time_point set = Clock::now();
        plugin->SetParameter(gain, trial % 2 ? 0.5f : 0.375f);
        plugin->Host().SetProcessing(false);
        for (int32_t waited = 1; waited <= 100000; ++waited) {
            const Clock::time_point started = Clock::now();
            player.Play();
            if (std::fabs(player.Left()[static_cast<size_t>(block - 1)] - before) > 0.01f * std::fabs(before)) {
                readyMicroseconds.push_back(Microseconds(started - set));
                break;
            }
        }
        next = Clock::now() + period;
    }
    if (delayBlocks.empty() || readyMicroseconds.empty()) {
        std::printf("| %d | not heard | | | |\n", block);
        return;
    }
    const Figures blocks = Percentiles(delayBlocks);
    const Figures micro = Percentiles(delayMicroseconds);
    const Figures ready = Percentiles(readyMicroseconds);
    std::printf("| %d | %.0f / %.0f | %.0f / %.0f | %.0f / %.0f | %zu |\n", block, blocks.median, blocks.worst,
                micro.median, micro.worst, ready.median, ready.worst, delayBlocks.size());
}

// One run: `saves` effGetChunk calls on this thread, each timed, while another thread
// switches programs without pause (in the real-time class when `realTimeSwitcher`), or alone.
Figures MeasureSaves(const std::string& path, int32_t saves, bool switching, bool realTimeSwitcher, int64_t& switches) {
    std::unique_ptr<KivVst2Plugin> plugin = Open(path, 512);
    std::atomic<bool> running{true};
    std::atomic<int64_t> count{0};
    std::thread switcher;
    if (switching) {
        switcher = std::thread([&] {
            const AudioScheduling scheduling(realTimeSwitcher);
            for (int32_t program = 0; running.load(std::memory_order_relaxed); ++program) {
                plugin->Dispatch(effSetProgram, 0, program % std::max(1, plugin->NumPrograms()));
                count.fetch_add(1, std::memory_order_relaxed);
            }
        });
        while (count.load() == 0) std::this_thread::yield();
    }
    std::vector<double> times;
    for (int32_t save = 0; save < saves; ++save) {
        const Clock::time_point start = Clock::now();
        plugin->GetChunk();
        times.push_back(Microseconds(Clock::now() - start));
    }
    running.store(false);
    if (switcher.joinable()) switcher.join();
    switches = count.load();
    return Percentiles(times);
}

}  // namespace

int RunSavesBehindSwitching(const std::string& path, int32_t runs) {
    std::printf("%s: effGetChunk on one thread while another switches programs (effSetProgram) without "
                "pause; each figure the median of %d runs of 200 saves\n\n",
                path.c_str(), runs);
    std::printf("| switching thread | save median us | p99 us | worst us | switches per save |\n|---|---:|---:|---:|---:|\n");
    const struct {
        const char* name;
        bool switching, realTime;
    } cases[] = {{"none", false, false}, {"ordinary scheduling", true, false}, {"real-time (FIFO)", true, true}};
    for (const auto& c : cases) {
        std::vector<double> median, p99, worst, perSave;
        for (int32_t run = 0; run < runs; ++run) {
            int64_t switches = 0;
            const Figures figures = MeasureSaves(path, 200, c.switching, c.realTime, switches);
            median.push_back(figures.median);
            p99.push_back(figures.p99);
            worst.push_back(figures.worst);
            perSave.push_back(static_cast<double>(switches) / 200.0);
        }
        std::printf("| %s | %.1f | %.1f | %.1f | %.2f |\n", c.name, Median(median), Median(p99), Median(worst),
                    Median(perSave));
        std::fflush(stdout);
    }
    return 0;
}

int Run(const std::string& path, const Options& options) {
    const std::vector<std::vector<float>> signal = KivProgrammeSignal::Generate(kSampleRate, kSignalFrames);
    bool realTime = false;
    if (options.realTime) {
        AudioScheduling probe(true);
        realTime = probe.Raised();
    }
    std::printf("%s: stereo, %d Hz, %d blocks per case, a quarter block's pause after each; audio thread in %s "
                "scheduling; %s\n\n",
                path.c_str(), kSampleRate, options.blocks, realTime ? "real-time (FIFO)" : "ordinary",
                options.runs > 1 ? "each figure the median of its runs" : "one run");
    if (!options.parameters.empty())
        std::printf("setParameter picks among the parameters whose names contain \"%s\"\n\n", options.parameters.c_str());
    std::printf("Wall time is what the host waits for; \"on the processor\" is the audio thread's own processor "
                "time in the same blocks. \"switched\" counts blocks in which the scheduler took the processor away, "
                "\"waited\" those in which the audio thread gave it up itself (a lock, a sleep), "
                "\"faults\" the page faults met, \"> %.1f ms\" the blocks longer than that and, in brackets, how many "
                "of them ran that long on the processor (the plug-in's own work rather than a wait for the machine).\n\n",
                KivBlockCosts::kLongBlockMicroseconds / 1000.0);
    std::printf("| load on a second thread | frames | median us | p99 us | p99.9 us | worst us |%s on the processor: "
                "median / p99 / worst us | switched | waited | faults | > %.1f ms (on the processor) | blocks |\n",
                options.runs > 1 ? " worst of each run us | worst of the fastest run of each block us |" : "",
                KivBlockCosts::kLongBlockMicroseconds / 1000.0);
    std::printf("|---|---:|---:|---:|---:|---:|%s---|---:|---:|---:|---:|---|\n", options.runs > 1 ? "---|---:|" : "");
    const std::vector<int32_t> sizes = options.frames > 0 ? std::vector<int32_t>{options.frames} : std::vector<int32_t>{64, 512};
    for (int32_t block : sizes) {
        for (const Load& load : Loads(options)) {
            if (!load.name || std::string(load.name).find(options.load) == std::string::npos) continue;
            const std::optional<double> median = ReportLoad(path, load, block, options, signal);
            if (median && !load.step && !load.programChanges && std::string(load.name) == "none")
                ReportMachineReference(block, *median, options);
        }
    }
    if (!options.load.empty()) return 0;
    std::printf("\nAutomation on the audio thread to audible effect, blocks at real-time pace\n\n");
    std::printf("| frames | heard after blocks (median / worst) | us to that block (median / worst) | "
                "us until a block could play it (median / worst) | changes |\n|---:|---|---|---|---:|\n");
    for (int32_t block : sizes) MeasureAutomationDelay(path, block, options.realTime);
    return 0;
}

}  // namespace KivContentionBench
