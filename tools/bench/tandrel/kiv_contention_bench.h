#pragma once
#include <string>

// tandrel-bench --contention PLUGIN [--blocks N]: the time of every block the audio thread
// processes (stereo, 48 kHz, blocks of 64 and 512 frames, a short pause after each), alone and
// while a second thread loops one host operation: effGetChunk, effGetChunk with effSetChunk,
// setParameter on random parameters and values, program (preset slot) switches, and the
// editor's refresh (TandrelMini's offscreen editor). Prints the median, p99, p99.9 and worst
// block time of each, then how long automation set on the host's audio thread takes to be
// heard, in blocks and microseconds, when blocks come at their real-time pace.
namespace KivContentionBench {

int Run(const std::string& path, int32_t blocks);

}  // namespace KivContentionBench
