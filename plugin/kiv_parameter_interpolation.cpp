#include "plugin/kiv_parameter_interpolation.h"

#include <cmath>

#include "parameters/kiv_automation_adapter.h"

void KivParameterInterpolation::Add(KivAutomationAdapter& object, int32_t localIndex) {
    const double value = object.GetParameter(localIndex);
    states_.Add(State{&object, localIndex, value, value, value, 0.0, false});
}

void KivParameterInterpolation::Settle() {
    resetRequested_ = false;
    TakeOverStartValues();
}

void KivParameterInterpolation::TakeOverStartValues() {
    for (State& state : states_) state.start = state.object->GetParameter(state.localIndex);
}

bool KivParameterInterpolation::Prepare(int32_t count) {
    if (resetRequested_) {
        resetRequested_ = false;
        TakeOverStartValues();
        return false;
    }
    bool anyActive = false;
    for (State& state : states_) {
        state.target = state.object->GetParameter(state.localIndex);
        state.active = std::fabs(state.target - state.start) > kSmallestRamp;
        anyActive = anyActive || state.active;
    }
    if (!anyActive || count < 2) {
        // Too small a move or too short a block: the new values apply at once.
        for (State& state : states_) {
            state.active = false;
            state.start = state.target;
        }
        return false;
    }
    for (State& state : states_) {
        if (!state.active) {
            state.start = state.target;
            continue;
        }
        state.step = (state.target - state.start) / count;
        state.current = state.start;
        state.object->SetInterpolating(state.localIndex, true);
        state.object->SetParameter(state.localIndex, state.current, true);
    }
    return true;
}

void KivParameterInterpolation::Advance(int32_t count) {
    for (State& state : states_) {
        if (!state.active) continue;
        state.current += count * state.step;
        state.object->SetParameter(state.localIndex, state.current, true);
    }
}

void KivParameterInterpolation::Finish() {
    for (State& state : states_) {
        state.start = state.target;
        if (!state.active) continue;
        state.active = false;
        state.object->SetInterpolating(state.localIndex, false);
        state.object->SetParameter(state.localIndex, state.target, true);
    }
}
