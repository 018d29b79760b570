#pragma once
#include <string>

#include "tools/render/kiv_audio_data.h"

// Reads and writes audio files by their extension. ".wav" goes through the renderer's own
// WAV code everywhere, so that renders compare bit for bit across platforms; AIFF and FLAC
// go through libsndfile where it is available (the Linux build). Failures raise
// std::runtime_error.
namespace KivAudioFile {

KivAudioData Read(const std::string& path);
// WAV is written as 32-bit float; FLAC and AIFF as 24-bit.
void Write(const std::string& path, const KivAudioData& audio);
// The extensions this build understands, for the usage text.
const char* SupportedExtensions();

}  // namespace KivAudioFile
