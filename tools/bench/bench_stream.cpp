// Throughput of the hex and zlib streams over about 1 MB of programme-like data: the size of
// a large preset library or plug-in state, which is hex-encoded and compressed on every save.
#include <benchmark/benchmark.h>

#include <string>

#include "base/stream/kiv_hexa_stream.h"
#include "base/stream/kiv_md5_stream.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/stream/kiv_zlib_stream.h"

namespace {

constexpr size_t kDataSize = 1 << 20;

const std::string& ProgrammeLikeData() {
    static const std::string data = [] {
        std::string text;
        uint32_t seed = 7;
        while (text.size() < kDataSize) {
            seed = seed * 214013u + 2531011u;
            if ((seed >> 16) % 4 == 0) {
                for (int index = 0; index < 48; ++index) {
                    seed = seed * 214013u + 2531011u;
                    text += static_cast<char>(seed >> 24);
                }
            } else {
                text += "<param id=\"" + std::to_string((seed >> 16) % 40) + "\" value=\"0." +
                        std::to_string(seed % 100000) + "\"/>\n";
            }
        }
        text.resize(kDataSize);
        return text;
    }();
    return data;
}

int32_t DataSize() { return static_cast<int32_t>(ProgrammeLikeData().size()); }

KivByteBuffer Compressed(int32_t quality) {
    KivMemoryStream target;
    KivZLibStream zlib;
    zlib.Open(&target, true, quality);
    zlib.Write(ProgrammeLikeData().data(), DataSize());
    zlib.Finish();
    zlib.Close();
    return target.GetContents();
}

void BM_HexEncode(benchmark::State& state) {
    KivMemoryStream target;
    for (auto _ : state) {
        target.Seek(0, KivStream::kFromStart);
        KivHexaStream hex(&target);
        hex.Write(ProgrammeLikeData().data(), DataSize());
    }
    state.SetBytesProcessed(state.iterations() * DataSize());
}
BENCHMARK(BM_HexEncode);

void BM_HexDecode(benchmark::State& state) {
    KivMemoryStream encoded;
    KivHexaStream(&encoded).Write(ProgrammeLikeData().data(), DataSize());
    std::string decoded(kDataSize, '\0');
    for (auto _ : state) {
        encoded.Seek(0, KivStream::kFromStart);
        KivHexaStream hex(&encoded);
        benchmark::DoNotOptimize(hex.Read(decoded.data(), DataSize()));
    }
    state.SetBytesProcessed(state.iterations() * DataSize());
}
BENCHMARK(BM_HexDecode);

void BM_Deflate(benchmark::State& state) {
    int32_t quality = static_cast<int32_t>(state.range(0));
    KivMemoryStream target;
    for (auto _ : state) {
        target.Seek(0, KivStream::kFromStart);
        KivZLibStream zlib;
        zlib.Open(&target, true, quality);
        zlib.Write(ProgrammeLikeData().data(), DataSize());
        zlib.Finish();
        zlib.Close();
    }
    state.SetBytesProcessed(state.iterations() * DataSize());
    state.counters["ratio"] = static_cast<double>(Compressed(quality).Size()) / DataSize();
}
BENCHMARK(BM_Deflate)->Arg(10)->Arg(55)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_Inflate(benchmark::State& state) {
    KivByteBuffer compressed = Compressed(100);
    std::string decoded(kDataSize, '\0');
    for (auto _ : state) {
        KivMemoryStream source(compressed);
        KivZLibStream zlib;
        zlib.Open(&source, false);
        benchmark::DoNotOptimize(zlib.Read(decoded.data(), DataSize()));
        zlib.Close();
    }
    state.SetBytesProcessed(state.iterations() * DataSize());
}
BENCHMARK(BM_Inflate)->Unit(benchmark::kMillisecond);

void BM_MD5(benchmark::State& state) {
    for (auto _ : state) {
        KivMD5Stream digest;
        digest.Write(ProgrammeLikeData().data(), DataSize());
        digest.Finish();
    }
    state.SetBytesProcessed(state.iterations() * DataSize());
}
BENCHMARK(BM_MD5)->Unit(benchmark::kMillisecond);

}  // namespace
