// kivtool: inspects and converts the formats the framework reads and writes.
#include <cstdio>
#include <cstring>

#include "tools/kivtool/kivtool_commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const KivToolArguments&);
    const char* usage;
};

constexpr Command kCommands[] = {
    {"xml", RunXmlCommand, "xml [FILE]                 parse and write back in the framework's dialect"},
    {"hex", RunHexCommand, "hex encode|decode [FILE]   bytes to hexadecimal text and back"},
    {"deflate", RunDeflateCommand, "deflate [--quality N] [FILE]  zlib-compress (quality 1..100)"},
    {"inflate", RunInflateCommand, "inflate [FILE]             zlib-decompress"},
    {"md5", RunMD5Command, "md5 [--seed N] [FILE]      MD5 digest in hexadecimal"},
    {"ripemd160", RunRIPEMDCommand, "ripemd160 [FILE]           RIPEMD-160 digest in hexadecimal"},
    {"encode", RunEncodeCommand, "encode --codec NAME [FILE] UTF-8 text to the codec's bytes"},
    {"decode", RunDecodeCommand, "decode --codec NAME [FILE] the codec's bytes to UTF-8 text"},
    {"gui", RunGuiCommand, "gui FILE --png OUT [--size WxH]  paint a GUI description into a PNG"},
    {"presets", RunPresetsCommand, "presets ACTION LIBRARY ...  list, show, export or import presets"},
};

int Usage() {
    std::fprintf(stderr, "usage: kivtool COMMAND [OPTIONS] [FILE]\n");
    for (const Command& command : kCommands) std::fprintf(stderr, "  kivtool %s\n", command.usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) == 0) return command.run(KivToolArguments(argv + 2, argv + argc));
    }
    return Usage();
}
