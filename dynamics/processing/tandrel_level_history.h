#pragma once
#include <atomic>
#include <cstdint>

// The level history's figures: one column per sixtieth of a second of audio with the loudest
// input and output sample (amplitudes, largest over the channels) and the deepest gain
// reduction (a gain, 1 = none, smallest over the channels).
//
// The audio thread measures each block and writes finished columns into a ring; the editor
// takes them on the GUI thread. One writer, one reader, no lock: each column's figures are
// atomics, and the count of columns written is published after them (release), so a reader
// that sees the count sees the columns. A reader that fell more than the ring behind skips
// to the oldest column still whole, and one held up while it copied drops the columns the
// writer reached meanwhile. Silence (input and output below -100 dB) writes nothing,
// so an editor showing the history has nothing to repaint while the host sends silence or
// stops processing. The transport is not asked: the plug-in does not read the host's time
// every block, and silence looks the same whether the transport plays it or stands.
class TandrelLevelHistory {
public:
    static constexpr int32_t kColumnsPerSecond = 60;
    static constexpr int32_t kCapacity = 1024;  // 17 s of columns: a power of two
    // Below -100 dB input and output count as silence.
    static constexpr float kSilence = 1e-5f;

    struct Column {
        float input = 0.0f;
        float output = 0.0f;
        float reduction = 1.0f;
    };

    // Column length for a sample rate; call while no block runs.
    void SetSampleRate(int32_t sampleRate) noexcept;

    // --- audio thread ---
    // The block's loudest input sample; before processing, since a host may process in place.
    void MeasureInput(const float* const* inputs, int32_t channels, int32_t count) noexcept;
    // The block's loudest output sample and deepest reduction, which end the block's part of
    // the column; a column of silence is dropped.
    void MeasureOutput(const float* const* outputs, int32_t channels, int32_t count, double reduction) noexcept;

    // --- GUI thread ---
    // Forgets what was written so far: the next Take starts from now.
    void Restart() noexcept;
    // Copies the columns written since the last Take (at most `capacity`, the newest ones,
    // fewer if the writer overtook the copy), oldest first; how many.
    int32_t Take(Column* into, int32_t capacity) noexcept;

    int64_t ColumnsWritten() const noexcept { return written_.load(std::memory_order_acquire); }

private:
    struct Slot {
        std::atomic<float> input{0.0f};
        std::atomic<float> output{0.0f};
        std::atomic<float> reduction{1.0f};
    };
    void Write(const Column& column) noexcept;

    // The audio thread's own: the column being filled.
    Column current_;
    bool heard_ = false;
    int32_t filled_ = 0;
    int32_t columnLength_ = 735;
    // Shared.
    Slot slots_[kCapacity];
    std::atomic<int64_t> written_{0};
    // The reader's own.
    int64_t read_ = 0;
};
