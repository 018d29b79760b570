// Costs of the string operations every other subsystem leans on.
#include <benchmark/benchmark.h>

#include <string>

#include "base/encoding/kiv_encoding.h"
#include "base/kiv_string.h"

namespace {

constexpr int32_t kTextBytes = 100 * 1024;

// Mixed text so that one-, two-, three- and four-byte UTF-8 forms all occur.
std::string MixedUTF8Text() {
    const std::string piece = "Threshold -12.5 dB, Kompressor \xC3\xBC\xC3\x9F, \xE2\x82\xAC 3, \xF0\x9D\x84\x9E\n";
    std::string text;
    while (text.size() + piece.size() <= static_cast<size_t>(kTextBytes)) text += piece;
    return text;
}

void BM_CopyHeapString(benchmark::State& state) {
    KivString source = KivString::FromUTF8(MixedUTF8Text());
    for (auto _ : state) {
        KivString copy(source);
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyHeapString);

void BM_CopyLiteral(benchmark::State& state) {
    for (auto _ : state) {
        KivString copy("a literal is borrowed, never copied");
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyLiteral);

void BM_AppendOneCharacterAtATime(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        KivString text;
        for (int32_t i = 0; i < count; ++i) text.Append(static_cast<char16_t>(u'a' + i % 26));
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AppendOneCharacterAtATime)->Arg(1000)->Arg(100000);

void BM_EncodeUTF8(benchmark::State& state) {
    KivString text = KivString::FromUTF8(MixedUTF8Text());
    const KivEncoding::Codec& codec = KivEncoding::GetCodec("utf-8");
    for (auto _ : state) benchmark::DoNotOptimize(codec.Encode(text, false));
    state.SetBytesProcessed(state.iterations() * kTextBytes);
}
BENCHMARK(BM_EncodeUTF8);

void BM_DecodeUTF8(benchmark::State& state) {
    std::string utf8 = MixedUTF8Text();
    KivByteBuffer bytes = KivByteBuffer::Copy(utf8.data(), static_cast<int32_t>(utf8.size()));
    const KivEncoding::Codec& codec = KivEncoding::GetCodec("utf-8");
    for (auto _ : state) benchmark::DoNotOptimize(codec.Decode(bytes));
    state.SetBytesProcessed(state.iterations() * kTextBytes);
}
BENCHMARK(BM_DecodeUTF8);

void BM_CompareFolded(benchmark::State& state) {
    KivString a = KivString::FromUTF8("Kompressor \xC3\xA9t\xC3\xA9 Threshold");
    KivString b("kompressor ete threshold");
    for (auto _ : state) benchmark::DoNotOptimize(a.CompareFolded(b));
}
BENCHMARK(BM_CompareFolded);

}  // namespace
