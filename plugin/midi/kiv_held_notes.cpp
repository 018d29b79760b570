#include "plugin/midi/kiv_held_notes.h"

void KivHeldNotes::Press(int32_t row, int32_t note) noexcept { ++counts_[row][note]; }

void KivHeldNotes::Release(int32_t row, int32_t note) noexcept {
    if (counts_[row][note] > 0) --counts_[row][note];
}

void KivHeldNotes::ClearDeferred() noexcept {
    for (auto& row : deferred_)
        for (bool& mark : row) mark = false;
}
