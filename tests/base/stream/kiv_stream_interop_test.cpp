// Checks the compression and digest streams against Python's zlib and hashlib, so that data
// written by the framework is readable by any other zlib user and the other way round.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/stream/kiv_md5_stream.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/stream/kiv_ripemd_stream.h"
#include "base/stream/kiv_zlib_stream.h"

namespace {

namespace fs = std::filesystem;

// Python compresses each data file at level 5 (as our quality 55) and checks our output.
constexpr const char* kZLibScript = R"(import sys, zlib
folder, count = sys.argv[1], int(sys.argv[2])
for index in range(count):
    data = open(f'{folder}/data{index}', 'rb').read()
    ours = open(f'{folder}/ours{index}', 'rb').read()
    print('ok' if zlib.decompress(ours) == data else 'mismatch', flush=True)
    open(f'{folder}/theirs{index}', 'wb').write(zlib.compress(data, 5))
)";

constexpr const char* kDigestScript = R"(import sys, hashlib, subprocess
data, lengths = open(sys.argv[1], 'rb').read(), [int(n) for n in sys.argv[2].split(',')]
def ripemd(piece):
    try:
        return hashlib.new('ripemd160', piece).hexdigest()
    except ValueError:
        out = subprocess.run(['openssl', 'dgst', '-rmd160', '-provider', 'legacy', '-provider', 'default', '-r'],
                             input=piece, capture_output=True, check=True).stdout
        return out.split()[0].decode()
offset = 0
for length in lengths:
    piece = data[offset:offset + length]
    offset += length
    print(hashlib.md5(piece).hexdigest(), ripemd(piece))
)";

class Interop : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        GTEST_SKIP() << "Python comparisons run on the Linux build";
#else
        if (std::system("python3 -c 'import zlib, hashlib' >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
        folder_ = fs::temp_directory_path() / ("kiv_interop_" + std::to_string(std::random_device()()));
        fs::create_directories(folder_);
#endif
    }
    void TearDown() override {
        if (!folder_.empty()) fs::remove_all(folder_);
    }

    std::string PathOf(const std::string& leaf) const { return (folder_ / leaf).string(); }

    std::vector<std::string> RunPython(const char* script, const std::string& arguments) {
        std::ofstream(PathOf("script.py")) << script;
        std::string command = "python3 " + PathOf("script.py") + " " + arguments + " > " + PathOf("output.txt");
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::ifstream output(PathOf("output.txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(output, line);) lines.push_back(line);
        return lines;
    }

    fs::path folder_;
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Like a plug-in's state: markup with numbers, stretches of noise-like sample data.
std::string ProgrammeLikeData(size_t size, uint32_t seed) {
    std::string data;
    data.reserve(size + 64);
    while (data.size() < size) {
        seed = seed * 214013u + 2531011u;
        if ((seed >> 16) % 4 == 0) {
            for (int index = 0; index < 48; ++index) {
                seed = seed * 214013u + 2531011u;
                data += static_cast<char>(seed >> 24);
            }
        } else {
            data += "<param id=\"" + std::to_string((seed >> 16) % 40) + "\" value=\"0." +
                    std::to_string(seed % 100000) + "\"/>\n";
        }
    }
    data.resize(size);
    return data;
}

std::string Compress(const std::string& data, int32_t quality) {
    KivMemoryStream target;
    KivZLibStream zlib;
    zlib.Open(&target, true, quality);
    for (size_t offset = 0; offset < data.size(); offset += 100000) {  // pieces, as an application writes
        zlib.Write(data.data() + offset, static_cast<int32_t>(std::min<size_t>(100000, data.size() - offset)));
    }
    zlib.Finish();
    zlib.Close();
    return std::string(reinterpret_cast<const char*>(target.GetData()), static_cast<size_t>(target.GetLength()));
}

std::string Decompress(const std::string& compressed, size_t expectedSize) {
    KivMemoryStream source(KivByteBuffer::Copy(compressed.data(), static_cast<int32_t>(compressed.size())));
    KivZLibStream zlib;
    zlib.Open(&source, false);
    std::string result(expectedSize + 1, '\0');
    int32_t got = zlib.Read(result.data(), static_cast<int32_t>(result.size()));
    result.resize(static_cast<size_t>(got));
    return result;
}

std::string HexDigest(KivHashStream& digest, const std::string& piece) {
    digest.Write(piece.data(), static_cast<int32_t>(piece.size()));
    uint8_t bytes[KivHashStream::kMaxDigestSize];
    digest.ReadRequired(bytes, digest.GetDigestSize());
    std::string hex;
    for (int32_t index = 0; index < digest.GetDigestSize(); ++index) {
        hex += "0123456789abcdef"[bytes[index] >> 4];
        hex += "0123456789abcdef"[bytes[index] & 15];
    }
    return hex;
}

}  // namespace

TEST_F(Interop, ZLibStreamsAgreeWithPythonBothWays) {
    const std::vector<size_t> sizes = {0, 1, 100, 4096, 65537, 1 << 20, 10 << 20};
    std::vector<std::string> inputs;
    for (size_t index = 0; index < sizes.size(); ++index) {
        inputs.push_back(ProgrammeLikeData(sizes[index], static_cast<uint32_t>(index + 1)));
        WriteFile(PathOf("data" + std::to_string(index)), inputs.back());
        WriteFile(PathOf("ours" + std::to_string(index)), Compress(inputs.back(), 55));
    }
    std::vector<std::string> verdicts = RunPython(kZLibScript, folder_.string() + " " + std::to_string(sizes.size()));
    ASSERT_EQ(verdicts.size(), sizes.size());
    for (size_t index = 0; index < sizes.size(); ++index) {
        EXPECT_EQ(verdicts[index], "ok") << "size " << sizes[index];
        std::string theirs = ReadFile(PathOf("theirs" + std::to_string(index)));
        EXPECT_TRUE(Decompress(theirs, sizes[index]) == inputs[index]) << "size " << sizes[index];
        // zlib's output is fully determined by the level: quality 55 must have meant level 5.
        EXPECT_TRUE(ReadFile(PathOf("ours" + std::to_string(index))) == theirs) << "size " << sizes[index];
    }
}

TEST_F(Interop, DigestsAgreeWithPython) {
    std::mt19937 random(20240611);
    std::string data;
    std::vector<size_t> lengths;
    for (size_t length = 0; length <= 200; ++length) lengths.push_back(length);
    lengths.push_back(3 << 20);
    lengths.push_back((3 << 20) + 77);
    std::string lengthList;
    for (size_t length : lengths) {
        for (size_t index = 0; index < length; ++index) data += static_cast<char>(random());
        lengthList += (lengthList.empty() ? "" : ",") + std::to_string(length);
    }
    WriteFile(PathOf("digests.bin"), data);
    std::vector<std::string> expected = RunPython(kDigestScript, PathOf("digests.bin") + " " + lengthList);
    ASSERT_EQ(expected.size(), lengths.size());
    size_t offset = 0;
    for (size_t index = 0; index < lengths.size(); ++index) {
        std::string piece = data.substr(offset, lengths[index]);
        offset += lengths[index];
        KivMD5Stream md5;
        KivRIPEMDStream ripemd;
        EXPECT_EQ(HexDigest(md5, piece) + " " + HexDigest(ripemd, piece), expected[index]) << "length " << lengths[index];
    }
}
