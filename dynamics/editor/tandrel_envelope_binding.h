#pragma once
#include "envelope/kiv_envelope.h"
#include "gui/core/kiv_event.h"

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

private:
    void OnBegin(KivOnNotifyParams&) { inGesture_ = true; }
    void OnChange(KivOnNotifyParams&);
    void OnEnd(KivOnNotifyParams&) { inGesture_ = false; }

    KivGraphEditor& editor_;
    TandrelAudioEffectPlugin& effect_;
    KivEnvelope& target_;
    KivEnvelope copy_;
    bool inGesture_ = false;
};
