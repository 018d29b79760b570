#pragma once
#include <string>
#include <vector>

// tandrel-bench --bypass-switches PLUGIN...: what a bypass switch adds to the block that holds
// its fade. Blocks of 512 at 44.1 kHz (the 10 ms fade, 441 samples, fits in one block): a
// thousand with the bypass held, then a thousand switching it at every block, three times,
// each plug-in file in turn so that several builds share the machine's state. Prints the
// fastest and the median block of each kind.
namespace KivSwitchBench {

int Run(const std::vector<std::string>& paths);

}  // namespace KivSwitchBench
