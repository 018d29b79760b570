#pragma once
#include <cstdint>

#include "base/kiv_list.h"

class KivAutomationAdapter;

// Smooths parameters that answer IsInterpolated: a value the host changed between two blocks
// ramps linearly across the next block instead of jumping. The plug-in cuts the block into
// sub-blocks and the parameter objects are written, silently, once per sub-block.
class KivParameterInterpolation {
public:
    // Changes smaller than this are taken over at once.
    static constexpr double kSmallestRamp = 1e-5;

    struct State {
        KivAutomationAdapter* object;
        int32_t localIndex;
        double start;
        double target;
        double current;
        double step;
        bool active;
    };

    // Forgets every parameter; Add then lists the interpolated ones.
    void Clear() noexcept { states_.Clear(); }
    void Add(KivAutomationAdapter& object, int32_t localIndex);
    int32_t Count() const noexcept { return states_.Count(); }
    // The next Prepare re-reads every start value instead of ramping.
    void RequestReset() noexcept { resetRequested_ = true; }

    // For blocks too short to smooth in: current values apply at once and become the start.
    void Settle();
    // Starts ramps over `count` samples; true when any parameter moves.
    bool Prepare(int32_t count);
    // Advances every ramp by `count` samples.
    void Advance(int32_t count);
    // Lands every ramp on its target.
    void Finish();

private:
    void TakeOverStartValues();

    KivList<State, 4> states_;
    bool resetRequested_ = true;
};
