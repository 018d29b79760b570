// tandrel-render: runs an audio file through a VST 2.4 plug-in file exactly as a host would
// (the library is loaded and entered through its exported VSTPluginMain), and reports what
// the plug-in did to the levels.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_png_writer.h"
#include "tools/render/kiv_audio_file.h"
#include "tools/render/kiv_level_meter.h"
#include "tools/render/kiv_parameter_lookup.h"
#include "tools/render/kiv_progress_bar.h"
#include "tools/render/kiv_render_options.h"
#include "tools/render/kiv_snapshot_session.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

// Block sizes as a host with a varying buffer would send them (the framework's own
// generator: seed := seed * 214013 + 2531011).
class BlockSizes {
public:
    BlockSizes(int32_t maximum, std::optional<uint32_t> seed) : maximum_(maximum), seed_(seed) {}
    int32_t Next() {
        if (!seed_) return maximum_;
        *seed_ = *seed_ * 214013u + 2531011u;
        return 1 + static_cast<int32_t>(((*seed_ >> 16) & 0x7FFF) % static_cast<uint32_t>(maximum_));
    }

private:
    int32_t maximum_;
    std::optional<uint32_t> seed_;
};

void LoadPlugin(KivVst2Plugin& plugin, const std::string& path, double sampleRate, int32_t blockSize) {
    KivVst2HostSettings settings;
    settings.sampleRate = sampleRate;
    settings.blockSize = blockSize;
    settings.offline = true;
    if (!plugin.Load(path, settings)) throw std::runtime_error(plugin.ErrorText());
    plugin.Open();
}

// Names whole, the name column as wide as its longest entry; the full name comes last, so
// that scripts reading the columns up to "display" still find the names there.
void ListParameters(KivVst2Plugin& plugin) {
    int nameWidth = 4;
    for (int32_t index = 0; index < plugin.NumParams(); ++index)
        nameWidth = std::max(nameWidth, static_cast<int>(plugin.ParameterName(index).size()));
    std::printf("%-5s %-*s %-16s %-6s %s\n", "index", nameWidth, "name", "display", "unit", "full name");
    for (int32_t index = 0; index < plugin.NumParams(); ++index)
        std::printf("%-5d %-*s %-16s %-6s %s\n", index, nameWidth, plugin.ParameterName(index).c_str(),
                    plugin.ParameterDisplay(index).c_str(), plugin.ParameterLabel(index).c_str(),
                    KivParameterLookup::FullName(plugin, index).c_str());
}

void ApplyAssignments(KivVst2Plugin& plugin, const std::vector<KivRenderOptions::Assignment>& assignments) {
    for (const KivRenderOptions::Assignment& assignment : assignments) {
        const int32_t index = KivParameterLookup::FindIndex(plugin, assignment.name);
        if (assignment.normalized) plugin.SetParameter(index, std::stof(assignment.value));
        else KivParameterLookup::ValueForDisplay(plugin, index, assignment.value);
        std::printf("set %s = %s (host value %.6f)\n", plugin.ParameterName(index).c_str(),
                    plugin.ParameterDisplay(index).c_str(), plugin.GetParameter(index));
    }
}

// A mono file feeds every plug-in input; otherwise channel by channel, silence for the rest.
std::vector<float*> InputPointers(KivAudioData& input, std::vector<float>& silence, int32_t count) {
    std::vector<float*> pointers(static_cast<size_t>(count));
    for (int32_t c = 0; c < count; ++c) {
        if (input.ChannelCount() == 1) pointers[static_cast<size_t>(c)] = input.channels[0].data();
        else if (c < input.ChannelCount()) pointers[static_cast<size_t>(c)] = input.channels[static_cast<size_t>(c)].data();
        else pointers[static_cast<size_t>(c)] = silence.data();
    }
    return pointers;
}

KivAudioData Render(KivVst2Plugin& plugin, KivAudioData& input, const KivRenderOptions& options,
                    KivSnapshotSession* snapshot) {
    const int64_t frames = input.Frames();
    KivAudioData output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(static_cast<size_t>(plugin.NumOutputs()), std::vector<float>(static_cast<size_t>(frames)));
    std::vector<float> silence(static_cast<size_t>(frames));
    const std::vector<float*> inputStarts = InputPointers(input, silence, plugin.NumInputs());
    std::vector<float*> inputs(inputStarts.size()), outputs(output.channels.size());
    BlockSizes sizes(options.blockSize, options.randomBlockSeed);
    KivProgressBar progress(stdout, frames);
    for (int64_t done = 0; done < frames;) {
        const int32_t length = static_cast<int32_t>(std::min<int64_t>(sizes.Next(), frames - done));
        for (size_t c = 0; c < inputs.size(); ++c) inputs[c] = inputStarts[c] + done;
        for (size_t c = 0; c < outputs.size(); ++c) outputs[c] = output.channels[c].data() + done;
        plugin.ProcessReplacing(inputs.data(), outputs.data(), length);
        if (snapshot) snapshot->Processed(length);
        done += length;
        progress.Update(done);
    }
    progress.Finish();
    return output;
}

void Report(KivVst2Plugin& plugin, const KivAudioData& input, const KivAudioData& output,
            const KivRenderOptions& options) {
    std::printf("plug-in   %s by %s (%d in, %d out, %d parameters)\n", plugin.EffectName().c_str(),
                plugin.VendorString().c_str(), plugin.NumInputs(), plugin.NumOutputs(), plugin.NumParams());
    std::printf("signal    %lld frames, %d channels, %d Hz; blocks of %s%d\n", static_cast<long long>(input.Frames()),
                input.ChannelCount(), input.sampleRate, options.randomBlockSeed ? "1.." : "", options.blockSize);
    std::printf("latency   %d samples\n", plugin.Latency());
    std::printf("input     %s\n", KivLevels::Of(input).Describe().c_str());
    std::printf("output    %s\n", KivLevels::Of(output).Describe().c_str());
}

void WriteSnapshot(KivSnapshotSession& snapshot, const std::string& path, int32_t percent) {
    const KivBitmap picture = snapshot.Paint(percent / 100.0);
    if (picture.IsEmpty()) throw std::runtime_error("the plug-in painted no editor picture");
    KivPngWriter::Write(picture, path);
    std::printf("snapshot  %s (%d x %d)\n", path.c_str(), picture.Width(), picture.Height());
}

int Run(const KivRenderOptions& options) {
    KivVst2Plugin plugin;
    if (options.listParameters) {
        LoadPlugin(plugin, options.pluginPath, 44100.0, options.blockSize);
        ListParameters(plugin);
        return 0;
    }
    KivAudioData input = KivAudioFile::Read(options.inputPath);
    LoadPlugin(plugin, options.pluginPath, input.sampleRate, options.blockSize);
    ApplyAssignments(plugin, options.assignments);
    // The editor is built before the audio, so that its meters follow it.
    std::unique_ptr<KivSnapshotSession> snapshot;
    if (!options.snapshotPath.empty()) {
        snapshot = std::make_unique<KivSnapshotSession>(plugin, input.sampleRate);
        if (!snapshot->Started()) throw std::runtime_error("the plug-in paints no editor pictures");
    }
    const KivAudioData output = Render(plugin, input, options, snapshot.get());
    KivAudioFile::Write(options.outputPath, output);
    Report(plugin, input, output, options);
    std::printf("written   %s\n", options.outputPath.c_str());
    if (snapshot) WriteSnapshot(*snapshot, options.snapshotPath, options.snapshotPercent);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        bool help = false;
        const KivRenderOptions options = KivRenderOptions::Parse(argc, argv, help);
        if (help) {
            std::fputs(KivRenderOptions::Usage(), stdout);
            std::printf("audio files: %s\n", KivAudioFile::SupportedExtensions());
            return 0;
        }
        return Run(options);
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "tandrel-render: %s\n", error.what());
        if (argc < 2) std::fputs(KivRenderOptions::Usage(), stderr);
        return 1;
    }
}
