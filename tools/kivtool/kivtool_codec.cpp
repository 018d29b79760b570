// kivtool encode / decode: converts between UTF-8 text and the bytes of a framework codec.
#include <cstdio>
#include <string>

#include "base/encoding/kiv_encoding.h"
#include "base/kiv_exception.h"
#include "tools/kivtool/kivtool_commands.h"

namespace {

struct CodecArguments {
    std::string codec;
    std::string file;  // empty: standard input
    bool valid = false;
};

CodecArguments ParseCodecArguments(const KivToolArguments& arguments) {
    CodecArguments parsed;
    bool haveCodec = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--codec" && i + 1 < arguments.size()) {
            parsed.codec = arguments[++i];
            haveCodec = true;
        } else if (parsed.file.empty() && arguments[i].rfind("--", 0) != 0) {
            parsed.file = arguments[i];
        } else {
            return parsed;
        }
    }
    parsed.valid = haveCodec;
    return parsed;
}

bool ReadAll(const std::string& file, std::string& contents) {
    std::FILE* input = file.empty() ? stdin : std::fopen(file.c_str(), "rb");
    if (!input) return false;
    char block[4096];
    size_t count = 0;
    while ((count = std::fread(block, 1, sizeof(block), input)) > 0) contents.append(block, count);
    bool failed = std::ferror(input) != 0;
    if (input != stdin) std::fclose(input);
    return !failed;
}

void WriteAll(const void* data, size_t size) {
    std::fwrite(data, 1, size, stdout);
    std::fflush(stdout);
}

KivByteBuffer AsBuffer(const std::string& bytes) {
    return KivByteBuffer::Copy(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// Runs `convert` on the input with the codec named by the arguments.
template <typename Convert>
int RunCodecCommand(const char* command, const KivToolArguments& arguments, Convert convert) {
    CodecArguments parsed = ParseCodecArguments(arguments);
    if (!parsed.valid) {
        std::fprintf(stderr, "usage: kivtool %s --codec NAME [FILE]\n", command);
        return 2;
    }
    std::string input;
    if (!ReadAll(parsed.file, input)) {
        std::fprintf(stderr, "Could not read %s.\n", parsed.file.empty() ? "standard input" : parsed.file.c_str());
        return 1;
    }
    try {
        convert(KivEncoding::GetCodec(KivString::FromUTF8(parsed.codec)), input);
        return 0;
    } catch (const KivException& exception) {
        std::fprintf(stderr, "%s\n", exception.GetMessage().ToUTF8().c_str());
        return 1;
    }
}

}  // namespace

int RunEncodeCommand(const KivToolArguments& arguments) {
    return RunCodecCommand("encode", arguments, [](const KivEncoding::Codec& codec, const std::string& input) {
        KivByteBuffer bytes = codec.Encode(KivString::FromUTF8(input), false);
        WriteAll(bytes.Data(), static_cast<size_t>(bytes.Size()));
    });
}

int RunDecodeCommand(const KivToolArguments& arguments) {
    return RunCodecCommand("decode", arguments, [](const KivEncoding::Codec& codec, const std::string& input) {
        std::string text = codec.Decode(AsBuffer(input)).ToUTF8();
        WriteAll(text.data(), text.size());
    });
}
