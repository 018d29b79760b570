#pragma once
#include <string>

#include "tools/render/kiv_audio_data.h"

// RIFF WAVE files without any library, so that the renderer reads and writes them the same
// way on every platform: reads PCM 8/16/24/32-bit and float 32/64-bit (plain or extensible
// headers), writes 32-bit float. Failures raise std::runtime_error with a readable text.
namespace KivWavFile {

KivAudioData Read(const std::string& path);
void WriteFloat(const std::string& path, const KivAudioData& audio);

}  // namespace KivWavFile
