#include "tools/render/kiv_audio_file.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "tools/render/kiv_wav_file.h"
#if KIV_RENDER_HAS_SNDFILE
#include "tools/render/kiv_sndfile_audio.h"
#endif

namespace {

bool IsWav(const std::string& path) {
    if (path.size() < 4) return false;
    std::string extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".wav";
}

}  // namespace

namespace KivAudioFile {

KivAudioData Read(const std::string& path) {
    if (IsWav(path)) return KivWavFile::Read(path);
#if KIV_RENDER_HAS_SNDFILE
    return KivSndfileAudio::Read(path);
#else
    throw std::runtime_error(path + ": this build reads WAV files only");
#endif
}

void Write(const std::string& path, const KivAudioData& audio) {
    if (IsWav(path)) return KivWavFile::WriteFloat(path, audio);
#if KIV_RENDER_HAS_SNDFILE
    KivSndfileAudio::Write(path, audio);
#else
    throw std::runtime_error(path + ": this build writes WAV files only");
#endif
}

const char* SupportedExtensions() {
#if KIV_RENDER_HAS_SNDFILE
    return ".wav (own reader and writer), .aiff, .flac (libsndfile)";
#else
    return ".wav";
#endif
}

}  // namespace KivAudioFile
