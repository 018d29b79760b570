#pragma once
#include <string>

// tandrel-bench --render-hash PLUGIN...: a digest of the output of each plug-in file for the
// same programme (stereo, 48 kHz, blocks of 64 frames) in fixed random settings and under
// random automation set between blocks on the playing thread, where each change is prepared
// before the next block and the render repeats to the bit. Equal digests of two builds show
// the same sound, automation included; a change meant to leave the sound as it was is
// checked against the library from before it.
namespace KivRenderHash {

int Run(int argc, char** argv);

}  // namespace KivRenderHash
