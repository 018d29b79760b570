#pragma once
#include <cstdint>

// How the bytes of a short MIDI message become the values the processors work with.
namespace KivMIDIDecoding {

constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kPolyPressure = 0xA0;
constexpr uint8_t kControlChange = 0xB0;
constexpr uint8_t kProgramChange = 0xC0;
constexpr uint8_t kChannelPressure = 0xD0;
constexpr uint8_t kPitchBend = 0xE0;
// The note number that stands for "the whole channel" in aftertouch.
constexpr int32_t kChannelPressureNote = 255;

inline uint8_t Kind(uint8_t status) noexcept { return status & 0xF0; }
inline int32_t Channel(uint8_t status) noexcept { return status & 0x0F; }

// A 7-bit data byte as 0..1.
inline double Value(uint8_t data) noexcept { return (data & 127) / 127.0; }

// Velocity 1 is the softest note and reads as 0, 127 as 126/127; 0 means "released".
inline double Velocity(uint8_t data) noexcept {
    const int32_t v = data & 127;
    return v > 0 ? (v - 1) / 127.0 : 0.0;
}

inline bool IsNoteOn(uint8_t status, uint8_t velocity) noexcept { return Kind(status) == kNoteOn && velocity != 0; }

// -1..1 from the low and high data bytes.
inline double PitchBend(uint8_t low, uint8_t high) noexcept { return (high * 256 + low) * 2 / 32767.0 - 1.0; }

}  // namespace KivMIDIDecoding
