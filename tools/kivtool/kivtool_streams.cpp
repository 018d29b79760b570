// kivtool's byte-stream commands: hex, deflate, inflate, md5, ripemd160.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_console_stream.h"
#include "base/stream/kiv_hexa_stream.h"
#include "base/stream/kiv_md5_stream.h"
#include "base/stream/kiv_ripemd_stream.h"
#include "base/stream/kiv_std_file_stream.h"
#include "base/stream/kiv_zlib_stream.h"
#include "tools/kivtool/kivtool_commands.h"

namespace {

constexpr int32_t kCopyPieceSize = 65536;

// Options of the form "--name VALUE" and free arguments, in the order given.
struct ParsedArguments {
    std::string inputFile;  // the last free argument; empty for standard input
    std::string mode;       // the first free argument where a command takes one
    long number = 0;
    bool valid = true;
};

ParsedArguments Parse(const KivToolArguments& arguments, const char* numberOption, long defaultNumber,
                      bool takesMode) {
    ParsedArguments parsed;
    parsed.number = defaultNumber;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (numberOption && argument == numberOption && index + 1 < arguments.size()) {
            char* end = nullptr;
            parsed.number = std::strtol(arguments[++index].c_str(), &end, 10);
            parsed.valid = parsed.valid && end && *end == 0;
        } else if (argument.size() > 2 && argument.compare(0, 2, "--") == 0) {
            parsed.valid = false;
        } else if (takesMode && parsed.mode.empty()) {
            parsed.mode = argument;
        } else {
            parsed.inputFile = argument;
        }
    }
    return parsed;
}

int Fail(const char* usage) {
    std::fprintf(stderr, "usage: kivtool %s\n", usage);
    return 2;
}

// The command's input: the named file, or standard input (shared with the output stream).
class Input {
public:
    Input(const std::string& fileName, KivConsoleStream& console) : stream_(&console) {
        if (fileName.empty()) return;
        file_ = std::make_unique<KivStdFileStream>(KivString::FromUTF8(fileName), KivStdFileStream::kRead);
        stream_ = file_.get();
    }
    KivStream& Stream() { return *stream_; }

private:
    std::unique_ptr<KivStdFileStream> file_;
    KivStream* stream_;
};

void Copy(KivStream& from, KivStream& to) {
    auto piece = std::make_unique<char[]>(kCopyPieceSize);
    for (int32_t got; (got = from.Read(piece.get(), kCopyPieceSize)) > 0;) to.Write(piece.get(), got);
}

void PrintDigest(KivHashStream& digest, KivStream& output) {
    uint8_t bytes[KivHashStream::kMaxDigestSize];
    int32_t size = digest.GetDigestSize();
    digest.ReadRequired(bytes, size);
    char text[2 * KivHashStream::kMaxDigestSize + 1];
    for (int32_t index = 0; index < size; ++index) {
        text[2 * index] = "0123456789abcdef"[bytes[index] >> 4];
        text[2 * index + 1] = "0123456789abcdef"[bytes[index] & 15];
    }
    text[2 * size] = '\n';
    output.Write(text, 2 * size + 1);
}

// Runs `body` with the input and standard output; a framework failure becomes exit code 1.
template <typename Body>
int RunOnStreams(const std::string& inputFile, Body body) {
    try {
        KivConsoleStream console;
        Input input(inputFile, console);
        body(input.Stream(), static_cast<KivStream&>(console));
        console.Flush();
        return 0;
    } catch (const KivException& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", error.GetMessage().ToUTF8().c_str());
        return 1;
    }
}

}  // namespace

int RunHexCommand(const KivToolArguments& arguments) {
    const char* usage = "hex encode|decode [FILE]";
    ParsedArguments parsed = Parse(arguments, nullptr, 0, true);
    bool encode = parsed.mode == "encode";
    if (!parsed.valid || (!encode && parsed.mode != "decode")) return Fail(usage);
    return RunOnStreams(parsed.inputFile, [encode](KivStream& input, KivStream& output) {
        if (encode) {
            KivHexaStream hex(&output);
            Copy(input, hex);
        } else {
            KivHexaStream hex(&input);
            Copy(hex, output);
        }
    });
}

int RunDeflateCommand(const KivToolArguments& arguments) {
    ParsedArguments parsed = Parse(arguments, "--quality", 100, false);
    if (!parsed.valid) return Fail("deflate [--quality N] [FILE]");
    int32_t quality = static_cast<int32_t>(parsed.number);
    return RunOnStreams(parsed.inputFile, [quality](KivStream& input, KivStream& output) {
        KivZLibStream zlib;
        zlib.Open(&output, true, quality);
        Copy(input, zlib);
        zlib.Finish();
        zlib.Close();
    });
}

int RunInflateCommand(const KivToolArguments& arguments) {
    ParsedArguments parsed = Parse(arguments, nullptr, 0, false);
    if (!parsed.valid) return Fail("inflate [FILE]");
    return RunOnStreams(parsed.inputFile, [](KivStream& input, KivStream& output) {
        KivZLibStream zlib;
        zlib.Open(&input, false);
        Copy(zlib, output);
        zlib.Close();
    });
}

int RunMD5Command(const KivToolArguments& arguments) {
    ParsedArguments parsed = Parse(arguments, "--seed", 0, false);
    if (!parsed.valid) return Fail("md5 [--seed N] [FILE]");
    uint32_t seed = static_cast<uint32_t>(parsed.number);
    return RunOnStreams(parsed.inputFile, [seed](KivStream& input, KivStream& output) {
        KivMD5Stream digest(seed);
        Copy(input, digest);
        PrintDigest(digest, output);
    });
}

int RunRIPEMDCommand(const KivToolArguments& arguments) {
    ParsedArguments parsed = Parse(arguments, nullptr, 0, false);
    if (!parsed.valid) return Fail("ripemd160 [FILE]");
    return RunOnStreams(parsed.inputFile, [](KivStream& input, KivStream& output) {
        KivRIPEMDStream digest;
        Copy(input, digest);
        PrintDigest(digest, output);
    });
}
