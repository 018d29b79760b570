// Reading and writing a state-sized XML document (about 100 KB): the host asks for the
// plug-in's state on every project save and hands it back on every project load.
#include <benchmark/benchmark.h>

#include <string>

#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"

namespace {

constexpr int32_t kPresetCount = 80;
constexpr int32_t kParametersPerPreset = 24;

// Settings-like contents: presets with numeric parameters, a few notes and escaped names.
void BuildState(KivXMLItem& root) {
    root.SetName("settings");
    root.SetAttribute("version", "1");
    root.SetAttribute("product", "TandrelMini");
    for (int32_t preset = 0; preset < kPresetCount; ++preset) {
        KivXMLItem& item = root.AddSubItem("preset");
        item.SetAttribute("name", KivString::FromUTF8("Preset " + std::to_string(preset) + " \"bus\" & glue"));
        item.SetAttribute("slot", KivString::FromUTF8(std::to_string(preset % 8)));
        for (int32_t parameter = 0; parameter < kParametersPerPreset; ++parameter) {
            KivXMLItem& value = item.AddSubItem("parameter");
            value.SetAttribute("id", KivString::FromUTF8("p" + std::to_string(parameter)));
            value.SetAttribute("value", KivString::FromUTF8("0." + std::to_string(100000000000 + preset * 977 + parameter)));
        }
        item.AddSubItem("notes").SetText(
            "Slow attack lets transients through while the release follows the groove of the track; "
            "the knee is soft so that the <gain> changes stay inaudible & smooth.");
    }
}

std::string Saved(const KivXMLItem& root) {
    KivMemoryStream stream;
    root.Save(stream, "utf-8");
    return std::string(reinterpret_cast<const char*>(stream.GetData()), static_cast<size_t>(stream.GetLength()));
}

void XMLLoad(benchmark::State& state) {
    KivXMLItem source;
    BuildState(source);
    std::string bytes = Saved(source);
    KivMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    for (auto _ : state) {
        stream.Seek(0, KivStream::kFromStart);
        KivXMLItem document;
        document.Load(stream);
        benchmark::DoNotOptimize(document.GetSubItemCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    state.counters["document_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(XMLLoad);

// A hostile state: one element with `range(0)` attributes named in descending order, so
// that every one sorts in front of all the others (100,000: 1.2 MB). A host hands such a
// chunk to the plug-in on the thread that loads the project.
void XMLLoadAttributeFlood(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    std::string bytes = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<flood";
    for (int32_t i = count; i > 0; --i) bytes += " a" + std::to_string(i) + "=\"1\"";
    bytes += "/>\n";
    KivMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    for (auto _ : state) {
        stream.Seek(0, KivStream::kFromStart);
        KivXMLItem document;
        document.Load(stream);
        benchmark::DoNotOptimize(document.GetAttributeCount());
    }
    state.counters["document_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(XMLLoadAttributeFlood)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void XMLSave(benchmark::State& state) {
    KivXMLItem source;
    BuildState(source);
    KivMemoryStream stream;
    int64_t written = 0;
    for (auto _ : state) {
        stream.Clear();
        source.Save(stream, "utf-8");
        written = stream.GetLength();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * written);
}
BENCHMARK(XMLSave);

}  // namespace
