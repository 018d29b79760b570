#include "tools/render/kiv_render_options.h"

#include <cstdlib>
#include <stdexcept>

namespace {

KivRenderOptions::Assignment ParseAssignment(const std::string& text, bool normalized) {
    const std::string::size_type equals = text.find('=');
    if (equals == std::string::npos || equals == 0) throw std::runtime_error("expected NAME=VALUE, got \"" + text + "\"");
    return {text.substr(0, equals), text.substr(equals + 1), normalized};
}

int32_t ParseBlockSize(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < 1 || value > 65536) throw std::runtime_error("block size must be 1..65536");
    return static_cast<int32_t>(value);
}

// Sizes the editor paints sharply: a quarter to eight times its layout.
int32_t ParseSnapshotPercent(const std::string& text) {
    char* end = nullptr;
    const long percent = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || percent < 25 || percent > 800)
        throw std::runtime_error("--snapshot-size takes a per cent from 25 to 800");
    return static_cast<int32_t>(percent);
}

}  // namespace

const char* KivRenderOptions::Usage() {
    return "usage: tandrel-render PLUGIN INPUT OUTPUT [options]\n"
           "       tandrel-render PLUGIN --list-parameters\n"
           "  --set NAME=TEXT          set a parameter by its display text (\"-20 dB\", \"4.00 : 1\")\n"
           "  --set-normalized NAME=V  set a parameter to the host value V (0..1)\n"
           "  --block N                host block size (default 512)\n"
           "  --random-blocks SEED     blocks of random sizes 1..N, drawn from SEED\n"
           "  --list-parameters        print index, name, display and unit of every parameter\n"
           "  --snapshot FILE.png      paint the plug-in's editor after rendering (meters at the end)\n"
           "  --snapshot-size PERCENT  the editor's size in that picture (default 100)\n";
}

KivRenderOptions KivRenderOptions::Parse(int argc, char** argv, bool& helpRequested) {
    KivRenderOptions options;
    std::vector<std::string> positional;
    helpRequested = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(argument + " needs a value");
            return argv[++i];
        };
        if (argument == "--help" || argument == "-h") helpRequested = true;
        else if (argument == "--set") options.assignments.push_back(ParseAssignment(next(), false));
        else if (argument == "--set-normalized") options.assignments.push_back(ParseAssignment(next(), true));
        else if (argument == "--block") options.blockSize = ParseBlockSize(next());
        else if (argument == "--random-blocks") options.randomBlockSeed = static_cast<uint32_t>(std::strtoul(next().c_str(), nullptr, 10));
        else if (argument == "--list-parameters") options.listParameters = true;
        else if (argument == "--snapshot") options.snapshotPath = next();
        else if (argument == "--snapshot-size") options.snapshotPercent = ParseSnapshotPercent(next());
        else if (argument.rfind("--", 0) == 0) throw std::runtime_error("unknown option " + argument);
        else positional.push_back(argument);
    }
    if (helpRequested) return options;
    const size_t needed = options.listParameters ? 1 : 3;
    if (positional.size() != needed) throw std::runtime_error("wrong number of file arguments");
    options.pluginPath = positional[0];
    if (!options.listParameters) {
        options.inputPath = positional[1];
        options.outputPath = positional[2];
    }
    return options;
}
