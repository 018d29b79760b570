#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The renderer's command line.
struct KivRenderOptions {
    struct Assignment {
        std::string name;
        std::string value;
        bool normalized = false;  // value is a host value 0..1, not a display text
    };

    std::string pluginPath;
    std::string inputPath;
    std::string outputPath;
    std::vector<Assignment> assignments;
    int32_t blockSize = 512;
    std::optional<uint32_t> randomBlockSeed;  // block sizes drawn from 1..blockSize
    bool listParameters = false;
    std::string snapshotPath;  // PNG of the plug-in's editor after rendering; empty: none
    int32_t snapshotPercent = 100;  // its size, in per cent of the editor's laid-out size

    // Raises std::runtime_error with the problem; `helpRequested` set for --help.
    static KivRenderOptions Parse(int argc, char** argv, bool& helpRequested);
    static const char* Usage();
};
