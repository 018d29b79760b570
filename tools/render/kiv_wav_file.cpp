#include "tools/render/kiv_wav_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

struct WavFormat {
    uint16_t code = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;
};

uint32_t ReadLE(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

void PutLE(std::vector<uint8_t>& out, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

[[noreturn]] void Fail(const std::string& path, const char* reason) {
    throw std::runtime_error(path + ": " + reason);
}

std::vector<uint8_t> ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) Fail(path, "cannot open file");
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

WavFormat ParseFormat(const std::string& path, const uint8_t* chunk, uint32_t size) {
    if (size < 16) Fail(path, "format chunk too short");
    WavFormat format;
    format.code = static_cast<uint16_t>(ReadLE(chunk, 2));
    format.channels = static_cast<uint16_t>(ReadLE(chunk + 2, 2));
    format.sampleRate = ReadLE(chunk + 4, 4);
    format.bitsPerSample = static_cast<uint16_t>(ReadLE(chunk + 14, 2));
    // An extensible header names the real format in the first two bytes of its sub-format.
    if (format.code == kFormatExtensible && size >= 26) format.code = static_cast<uint16_t>(ReadLE(chunk + 24, 2));
    return format;
}

float DecodeSample(const uint8_t* bytes, const WavFormat& format) {
    if (format.code == kFormatFloat) {
        if (format.bitsPerSample == 64) {
            double value;
            std::memcpy(&value, bytes, 8);
            return static_cast<float>(value);
        }
        float value;
        std::memcpy(&value, bytes, 4);
        return value;
    }
    switch (format.bitsPerSample) {
    case 8: return (static_cast<int>(bytes[0]) - 128) / 128.0f;
    case 16: return static_cast<int16_t>(ReadLE(bytes, 2)) / 32768.0f;
    case 24: return static_cast<int32_t>(ReadLE(bytes, 3) << 8) / 2147483648.0f;
    default: return static_cast<int32_t>(ReadLE(bytes, 4)) / 2147483648.0f;
    }
}

bool IsSupported(const WavFormat& format) {
    if (format.channels == 0 || format.sampleRate == 0) return false;
    if (format.code == kFormatFloat) return format.bitsPerSample == 32 || format.bitsPerSample == 64;
    return format.code == kFormatPcm && (format.bitsPerSample == 8 || format.bitsPerSample == 16 ||
                                         format.bitsPerSample == 24 || format.bitsPerSample == 32);
}

KivAudioData Decode(const std::string& path, const WavFormat& format, const uint8_t* data, uint32_t size) {
    if (!IsSupported(format)) Fail(path, "unsupported sample format");
    const uint32_t bytesPerSample = format.bitsPerSample / 8;
    const uint32_t frameBytes = bytesPerSample * format.channels;
    const size_t frames = size / frameBytes;
    KivAudioData audio;
    audio.sampleRate = static_cast<int32_t>(format.sampleRate);
    audio.channels.assign(format.channels, std::vector<float>(frames));
    for (size_t frame = 0; frame < frames; ++frame)
        for (uint32_t channel = 0; channel < format.channels; ++channel)
            audio.channels[channel][frame] = DecodeSample(data + frame * frameBytes + channel * bytesPerSample, format);
    return audio;
}

}  // namespace

namespace KivWavFile {

KivAudioData Read(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWhole(path);
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        Fail(path, "not a RIFF WAVE file");
    WavFormat format;
    bool haveFormat = false;
    for (size_t position = 12; position + 8 <= bytes.size();) {
        const uint8_t* chunk = bytes.data() + position;
        const uint32_t size = static_cast<uint32_t>(std::min<size_t>(ReadLE(chunk + 4, 4), bytes.size() - position - 8));
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            format = ParseFormat(path, chunk + 8, size);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) Fail(path, "data before format");
            return Decode(path, format, chunk + 8, size);
        }
        position += 8 + size + (size & 1);  // chunks are padded to even sizes
    }
    Fail(path, "no audio data");
}

void WriteFloat(const std::string& path, const KivAudioData& audio) {
    const uint32_t channels = static_cast<uint32_t>(audio.ChannelCount());
    const uint32_t frames = static_cast<uint32_t>(audio.Frames());
    const uint32_t dataBytes = frames * channels * 4;
    std::vector<uint8_t> out;
    out.reserve(58 + dataBytes);
    PutTag(out, "RIFF");
    PutLE(out, 50 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLE(out, 18, 4);
    PutLE(out, kFormatFloat, 2);
    PutLE(out, channels, 2);
    PutLE(out, static_cast<uint32_t>(audio.sampleRate), 4);
    PutLE(out, static_cast<uint32_t>(audio.sampleRate) * channels * 4, 4);
    PutLE(out, channels * 4, 2);
    PutLE(out, 32, 2);
    PutLE(out, 0, 2);
    PutTag(out, "fact");
    PutLE(out, 4, 4);
    PutLE(out, frames, 4);
    PutTag(out, "data");
    PutLE(out, dataBytes, 4);
    for (uint32_t frame = 0; frame < frames; ++frame)
        for (uint32_t channel = 0; channel < channels; ++channel) {
            uint32_t bits;
            std::memcpy(&bits, &audio.channels[channel][frame], 4);
            PutLE(out, bits, 4);
        }
    std::ofstream file(path, std::ios::binary);
    if (!file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size())))
        Fail(path, "cannot write file");
}

}  // namespace KivWavFile
