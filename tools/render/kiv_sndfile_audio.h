#pragma once
#include <string>

#include "tools/render/kiv_audio_data.h"

// AIFF, FLAC and the other formats libsndfile knows (Linux build only).
namespace KivSndfileAudio {

KivAudioData Read(const std::string& path);
void Write(const std::string& path, const KivAudioData& audio);

}  // namespace KivSndfileAudio
