#pragma once
#include <cstdint>
#include <vector>

#include "envelope/kiv_envelope.h"
#include "gui/core/kiv_event.h"

class KivAudioPlugin;

class KivGraphEditor;
class TandrelAudioEffectPlugin;

// An envelope editor bound to one of the effect's envelopes. The editor works on a copy, so
// that processing never reads a curve the GUI is halfway through changing: each change is
// written into the effect's envelope under the effect's mutex and applied at once. Pull
// shows the effect's envelope again (after presets, pasted states or a rebuilt automatic
// shape), except during a gesture, whose points the editor still holds.
class TandrelEnvelopeBinding : public KivEventTarget {
public:
    TandrelEnvelopeBinding(KivGraphEditor& editor, TandrelAudioEffectPlugin& effect, KivEnvelope& target);

    void Pull();
    bool IsInGesture() const { return inGesture_; }
    // The envelope is also host parameters `first` .. `first + count - 1` of `plugin`: a
    // gesture reaches the host as one begin-edit, the automation and one end-edit for each
    // of them that it moves.
    void ReportAsAutomation(KivAudioPlugin& plugin, int32_t first, int32_t count);

private:
    void OnBegin(KivOnNotifyParams&) { inGesture_ = true; }
    void OnChange(KivOnNotifyParams&);
    void OnEnd(KivOnNotifyParams&);
    void ReportChanges();

    KivGraphEditor& editor_;
    TandrelAudioEffectPlugin& effect_;
    KivEnvelope& target_;
    KivEnvelope copy_;
    bool inGesture_ = false;
    KivAudioPlugin* plugin_ = nullptr;
    int32_t first_ = 0;
    // Per host parameter: the value the host last heard of, and whether an edit is open.
    std::vector<double> reported_;
    std::vector<bool> editing_;
};
