#include "tools/bench/tandrel/kiv_block_costs.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace KivBlockCosts {

void Meter::Start() { before_ = KivPlatform::CurrentThreadUsage(); }

Cost Meter::Stop(double wallMicroseconds) const {
    const KivPlatform::ThreadUsage after = KivPlatform::CurrentThreadUsage();
    Cost cost;
    cost.wallMicroseconds = wallMicroseconds;
    cost.cpuMicroseconds = before_.cpuNanoseconds < 0 || after.cpuNanoseconds < 0
                               ? -1.0
                               : static_cast<double>(after.cpuNanoseconds - before_.cpuNanoseconds) / 1000.0;
    cost.involuntarySwitches = std::max<int64_t>(after.involuntarySwitches - before_.involuntarySwitches, 0);
    cost.voluntarySwitches = std::max<int64_t>(after.voluntarySwitches - before_.voluntarySwitches, 0);
    cost.minorFaults = std::max<int64_t>(after.minorFaults - before_.minorFaults, 0);
    return cost;
}

Figures Percentiles(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    const auto at = [&](double fraction) {
        const auto index = static_cast<size_t>(std::floor(fraction * static_cast<double>(values.size())));
        return values[std::min(index, values.size() - 1)];
    };
    return {at(0.5), at(0.99), at(0.999), values.back()};
}

Summary Summarise(const std::vector<Cost>& costs) {
    std::vector<double> wall, cpu;
    Summary summary;
    for (const Cost& cost : costs) {
        wall.push_back(cost.wallMicroseconds);
        cpu.push_back(cost.cpuMicroseconds);
        summary.switchedBlocks += cost.involuntarySwitches > 0;
        summary.waitedBlocks += cost.voluntarySwitches > 0;
        summary.minorFaults += cost.minorFaults;
        if (cost.wallMicroseconds > kLongBlockMicroseconds) {
            ++summary.longBlocks;
            summary.longOnProcessor += cost.cpuMicroseconds > kLongBlockMicroseconds;
        }
    }
    summary.wall = Percentiles(std::move(wall));
    summary.cpu = Percentiles(std::move(cpu));
    return summary;
}

std::vector<Cost> FastestOfRuns(const std::vector<std::vector<Cost>>& runs) {
    std::vector<Cost> fastest;
    for (const std::vector<Cost>& run : runs) {
        for (size_t block = 0; block < run.size(); ++block) {
            if (block >= fastest.size()) fastest.push_back(run[block]);
            else if (run[block].wallMicroseconds < fastest[block].wallMicroseconds) fastest[block] = run[block];
        }
    }
    return fastest;
}

namespace {

// A chain of dependent multiply-adds: no memory traffic, no branches to mispredict, the same
// instructions every time.
double Chain(int64_t iterations) {
    volatile double seed = 1.0;
    double x = seed;
    for (int64_t i = 0; i < iterations; ++i) x = x * 1.0000001 + 1e-9;
    return x;
}

}  // namespace

FixedWork::FixedWork(double microseconds) {
    constexpr int64_t kProbe = 100000;
    double fastest = 1e300;
    for (int i = 0; i < 20; ++i) {
        const auto start = std::chrono::steady_clock::now();
        volatile double sink = Chain(kProbe);
        (void)sink;
        fastest = std::min(fastest, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    iterations_ = std::max<int64_t>(1, static_cast<int64_t>(microseconds * static_cast<double>(kProbe) / fastest));
}

void FixedWork::Run() const {
    volatile double sink = Chain(iterations_);
    (void)sink;
}

std::string Longest(const std::vector<Cost>& costs, int32_t count) {
    std::vector<size_t> order(costs.size());
    std::iota(order.begin(), order.end(), size_t{0});
    const auto shown = std::min(order.size(), static_cast<size_t>(std::max(count, 0)));
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(shown), order.end(),
                      [&](size_t a, size_t b) { return costs[a].wallMicroseconds > costs[b].wallMicroseconds; });
    std::string lines;
    for (size_t i = 0; i < shown; ++i) {
        const Cost& cost = costs[order[i]];
        char line[160];
        std::snprintf(line, sizeof line, "    block %5zu: wall %7.1f us, on the processor %7.1f us, %lld switches, %lld waits, %lld faults\n",
                      order[i], cost.wallMicroseconds, cost.cpuMicroseconds,
                      static_cast<long long>(cost.involuntarySwitches), static_cast<long long>(cost.voluntarySwitches),
                      static_cast<long long>(cost.minorFaults));
        lines += line;
    }
    return lines;
}

}  // namespace KivBlockCosts
