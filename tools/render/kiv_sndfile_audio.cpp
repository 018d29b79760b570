#include "tools/render/kiv_sndfile_audio.h"

#include <sndfile.h>

#include <stdexcept>
#include <vector>

namespace {

[[noreturn]] void Fail(const std::string& path, SNDFILE* file) {
    throw std::runtime_error(path + ": " + sf_strerror(file));
}

int FormatFor(const std::string& path) {
    const std::string::size_type dot = path.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    if (extension == "flac" || extension == "FLAC") return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    if (extension == "aif" || extension == "aiff" || extension == "AIF" || extension == "AIFF")
        return SF_FORMAT_AIFF | SF_FORMAT_PCM_24;
    throw std::runtime_error(path + ": unknown file type");
}

}  // namespace

namespace KivSndfileAudio {

KivAudioData Read(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) Fail(path, nullptr);
    std::vector<float> interleaved(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    const sf_count_t frames = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    KivAudioData audio;
    audio.sampleRate = info.samplerate;
    audio.channels.assign(static_cast<size_t>(info.channels), std::vector<float>(static_cast<size_t>(frames)));
    for (sf_count_t frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < info.channels; ++channel)
            audio.channels[static_cast<size_t>(channel)][static_cast<size_t>(frame)] =
                interleaved[static_cast<size_t>(frame * info.channels + channel)];
    return audio;
}

void Write(const std::string& path, const KivAudioData& audio) {
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = audio.ChannelCount();
    info.format = FormatFor(path);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) Fail(path, nullptr);
    const int64_t frames = audio.Frames();
    std::vector<float> interleaved(static_cast<size_t>(frames * info.channels));
    for (int64_t frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < info.channels; ++channel)
            interleaved[static_cast<size_t>(frame * info.channels + channel)] =
                audio.channels[static_cast<size_t>(channel)][static_cast<size_t>(frame)];
    // Clipping instead of wrapping when a render exceeds full scale.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t written = sf_writef_float(file, interleaved.data(), frames);
    sf_close(file);
    if (written != frames) throw std::runtime_error(path + ": cannot write file");
}

}  // namespace KivSndfileAudio
