#pragma once
#include <cstdint>

#include "base/kiv_string.h"

class KivKestruneAudioEffectPlugin;
class KivPresetMorph;

// The modal "ABCD morphing" window: it moves the morph's handle as the user drags it and ends
// with a result, 1 for OK. The GUI supplies it.
class KivPresetMorphDialog {
public:
    static constexpr int32_t kOK = 1;
    virtual int32_t Run(KivPresetMorph& morph) = 0;

protected:
    ~KivPresetMorphDialog() = default;
};

// Asks whether slot E should become live after a morph made while one of A..D was live, so
// that the four morphed slots keep their settings. The GUI asks in a yes/no message window.
class KivPresetEQuestion {
public:
    // `message` names the live slot; true for yes.
    virtual bool AskToSelectPresetE(const KivString& message) = 0;

protected:
    ~KivPresetEQuestion() = default;
};

// The answer while no window can ask: no, so the slots stay as they are.
class KivDefaultPresetEAnswer final : public KivPresetEQuestion {
public:
    bool AskToSelectPresetE(const KivString&) override { return false; }
};

namespace KivPresetMorphSession {

// The question's text for the live slot `slot` (0..3).
KivString QuestionFor(int32_t slot);

// OnPresetMorph: brings the live slot's item up to date, runs the morph window and either
// undoes the morph (any result but OK) or keeps it, offering slot E when one of A..D is live.
// Failures are traced with "OnPresetMorph" and go no further.
void Run(KivKestruneAudioEffectPlugin& plugin, KivPresetMorphDialog& dialog, KivPresetEQuestion& question);

}  // namespace KivPresetMorphSession
