#pragma once
#include <cstdint>

// Which notes are sounding: a count of note-ons per channel and note, and the notes whose
// release waits for the hold to end. Row 16 collects notes of channels outside 0..15, so a
// note-off always finds its note-on. Fixed tables: nothing allocates while notes come in.
class KivHeldNotes {
public:
    static constexpr int32_t kChannels = 17;
    static constexpr int32_t kNotes = 128;

    // The table row of a channel.
    static int32_t Row(int32_t channel) noexcept { return channel >= 0 && channel < kChannels - 1 ? channel : kChannels - 1; }

    void Press(int32_t row, int32_t note) noexcept;
    // Counts one note-off; a count never goes below 0.
    void Release(int32_t row, int32_t note) noexcept;
    void Defer(int32_t row, int32_t note) noexcept { deferred_[row][note] = true; }
    bool IsDeferred(int32_t row, int32_t note) const noexcept { return deferred_[row][note]; }
    void ClearDeferred() noexcept;
    int32_t Count(int32_t row, int32_t note) const noexcept { return counts_[row][note]; }
    // Takes every count to 0, calling `release(row, note)` once per count taken away.
    template <typename OnRelease>
    void ReleaseAll(OnRelease&& release) {
        for (int32_t row = 0; row < kChannels; ++row)
            for (int32_t note = 0; note < kNotes; ++note)
                for (; counts_[row][note] > 0; --counts_[row][note]) release(row, note);
    }
    // Takes away one count of every deferred note, calling `release(row, note)` for each,
    // and clears the marks.
    template <typename OnRelease>
    void ReleaseDeferred(OnRelease&& release) {
        for (int32_t row = 0; row < kChannels; ++row) {
            for (int32_t note = 0; note < kNotes; ++note) {
                if (!deferred_[row][note]) continue;
                deferred_[row][note] = false;
                Release(row, note);
                release(row, note);
            }
        }
    }

    bool IsHolding() const noexcept { return holding_; }
    void SetHolding(bool on) noexcept { holding_ = on; }

private:
    int32_t counts_[kChannels][kNotes] = {};
    bool deferred_[kChannels][kNotes] = {};
    bool holding_ = false;
};
