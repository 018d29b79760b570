#pragma once
#include <string>

// tandrel-bench --contention PLUGIN [--blocks N] [--runs R] [--load TEXT] [--parameters NAME]
// [--ordinary-scheduling] [--longest K] [--warm-up N] [--frames F]:
// the time of every block the audio thread
// processes (stereo, 48 kHz, blocks of 64 and 512 frames, a short pause after each), alone and
// while a second thread loops one host operation: effGetChunk, effGetChunk with effSetChunk,
// setParameter on random parameters and values, program (preset slot) switches, and the
// editor's refresh (TandrelMini's offscreen editor). Prints the median, p99, p99.9 and worst
// block time of each, then how long automation set on the host's audio thread takes to be
// heard, in blocks and microseconds, when blocks come at their real-time pace.
//
// The audio thread runs in the real-time scheduling class hosts give it (where the system
// permits; the first line says which), so that the figures show the plug-in's own waits rather
// than the scheduler handing the core to the load thread. With R runs each figure is the median
// of its R measurements: on a shared machine one run's worst block says more about the machine.
// --load measures only the loads whose names contain TEXT, --frames F blocks of F frames only;
// --parameters NAME,... makes the setParameter load pick only among the parameters whose names
// contain one of the NAMEs, and none of those written "!NAME" ("!Channel,!Look" automates all
// but the channel mode and the look-ahead).
//
// Beside each block's wall time the bench records the audio thread's own processor time, the
// involuntary context switches and the page faults of that block (see kiv_block_costs.h), and
// --longest K lists the K longest blocks of each run. --warm-up N (50 unless told) plays N
// blocks before measuring: 0 measures from the first block after the plug-in is resumed. Reading them: a block whose processor
// time is close to its wall time was the plug-in's own work; a block whose wall time is long
// while its processor time is short waited for the machine: a switch counted there means the
// scheduler ran something else, none means an interrupt or, on a virtual machine, the
// hypervisor running another guest (Linux leaves both out of a thread's processor time).
namespace KivContentionBench {

struct Options {
    int32_t blocks = 2000;
    int32_t runs = 1;
    std::string load;
    std::string parameters;
    bool realTime = true;
    int32_t longest = 0;  // the longest blocks of each run listed one by one
    int32_t warmUp = 50;  // blocks played before the measured ones, after the plug-in is resumed
    int32_t frames = 0;   // one block size only (0: 64 and 512)
};

int Run(const std::string& path, const Options& options);

// tandrel-bench --saves-behind-switching PLUGIN [--runs R]: how long effGetChunk takes while
// another thread switches programs without pause, in ordinary and in real-time scheduling
// (a host's autosave while a controller keeps sending program changes).
int RunSavesBehindSwitching(const std::string& path, int32_t runs);

}  // namespace KivContentionBench
