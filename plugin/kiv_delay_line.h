#pragma once
#include <cstdint>
#include <memory>

#include "plugin/kiv_cross_fade.h"
#include "plugin/kiv_sample_buffer.h"

// Delays one channel by a whole number of samples, so that a signal that bypasses the
// effect stays aligned with the effect's latency. Starts out silent.
//
// The line keeps its history through a change of the delay: the new delay reads real past
// input, never audio from before a gap, and the output moves from the old delay to the new
// one in a cross-fade at once. What the line has not heard since it started (or was reset)
// is silence, as it was for a new instance: the host aligns the output by the delay it was
// told at once, so a new delay longer than the history plays that silence rather than keep
// the old delay while the latency reported is the new one. The two taps are the same signal
// at different times, as good as uncorrelated for programme material, so the fade keeps
// their powers summing to 1.
class KivDelayLine {
public:
    // Room for delays up to `longest` in blocks up to `block` samples, so that later changes
    // of the delay never allocate; off the audio thread. Starts from silence.
    void Reserve(int32_t longest, int32_t block);
    // The delay from the next sample on. Never allocates once Reserve made room for it; a
    // longer delay than reserved grows the line here (off the audio thread only) and starts
    // it from silence. Before anything has played, the delay is taken at once.
    void SetDelay(int32_t samples);
    // The delay asked for last (the line may still be fading towards it).
    int32_t GetDelay() const noexcept { return target_; }
    bool IsFading() const noexcept { return fading_; }
    // Output equals input: no delay, none asked for, no fade.
    bool IsPassThrough() const noexcept { return delay_ == 0 && target_ == 0 && !fading_; }
    // The length of the cross-fade between two delays, in samples; off the audio thread (it
    // fetches the fade's table).
    void SetFadeLength(int32_t samples);
    // Silence, and the delay asked for taken at once. Clears nothing: what the line has not
    // heard since plays as silence (so a reset costs the same whatever the delay).
    void Reset();
    // Takes `samples` (within the room reserved) at once, without a fade and without clearing
    // anything: for a line nobody hears until it has stored that many samples again (a channel
    // mode's line while the output waits on the bypass lines). Audio thread; never allocates.
    void JumpTo(int32_t samples) noexcept;

    // `input` may be `output`: each block is stored before anything is read.
    void Process(const float* input, float* output, int32_t count) noexcept;
    // Stores the block without reading it: keeps the history whole while nobody listens.
    void Feed(const float* input, int32_t count) noexcept;

private:
    int32_t Room() const noexcept;
    void Store(const float* input, int32_t count) noexcept;
    void ProcessPiece(const float* input, float* output, int32_t count) noexcept;
    void StartFade() noexcept;

    KivSampleBuffer history_;
    int32_t delay_ = 0;        // the delay being played
    int32_t target_ = 0;       // the delay asked for
    int32_t fadeFrom_ = 0;     // while fading: from delay_ ... to target_
    int32_t fadePosition_ = 0;
    int32_t fadeLength_ = 441;
    // The weights of a fade of fadeLength_; until SetFadeLength, they are worked out per sample.
    std::shared_ptr<const KivFadeTable> fade_;
    bool fading_ = false;
    int32_t writePosition_ = 0;
    int32_t stored_ = 0;       // samples heard since the start or the last reset, at most the capacity
};
