#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

// One short MIDI message (status, data 1, data 2) `deltaFrames` into a block.
struct KivHostMidiMessage {
    int32_t deltaFrames = 0;
    uint8_t bytes[3] = {};
};

// MIDI messages passed between threads without locks: any thread appends (the host's GUI
// thread, the audio thread while the plug-in generates MIDI), one thread at a time takes
// them out at a block boundary. A bounded ring whose cells carry sequence numbers, so that
// neither side ever waits for the other or allocates once built; a message that finds the
// ring full is dropped, the one loss a flood of thousands of events per block can cause.
class KivHostMidiQueue {
public:
    static constexpr uint32_t kCapacity = 1024;

    KivHostMidiQueue();

    // False when the ring is full.
    bool Append(const KivHostMidiMessage& message) noexcept;
    bool Append(int32_t deltaFrames, const uint8_t* bytes) noexcept;
    // The oldest message; false when there is none.
    bool Take(KivHostMidiMessage& message) noexcept;

private:
    struct Cell {
        std::atomic<uint32_t> sequence{0};
        KivHostMidiMessage message;
    };

    std::unique_ptr<Cell[]> cells_;
    alignas(64) std::atomic<uint32_t> appendPosition_{0};
    alignas(64) std::atomic<uint32_t> takePosition_{0};
};
