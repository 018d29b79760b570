#include "dynamics/editor/tandrel_envelope_binding.h"

#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "gui/controls/kiv_graph_editor.h"
#include "threads/kiv_synchronizer_guard.h"

TandrelEnvelopeBinding::TandrelEnvelopeBinding(KivGraphEditor& editor, TandrelAudioEffectPlugin& effect, KivEnvelope& target)
    : editor_(editor), effect_(effect), target_(target) {
    editor_.SetEnvelope(&copy_);
    editor_.OnBeginEdit.AddHandler(this, &TandrelEnvelopeBinding::OnBegin);
    editor_.OnChange.AddHandler(this, &TandrelEnvelopeBinding::OnChange);
    editor_.OnEndEdit.AddHandler(this, &TandrelEnvelopeBinding::OnEnd);
    Pull();
}

void TandrelEnvelopeBinding::Pull() {
    if (inGesture_) return;
    {
        KivSynchronizerGuard lock(effect_.GetEffectMutex());
        copy_.CopyFrom(target_);
    }
    editor_.EnvelopeChanged();
}

void TandrelEnvelopeBinding::OnChange(KivOnNotifyParams&) {
    {
        KivSynchronizerGuard lock(effect_.GetEffectMutex());
        target_.CopyFrom(copy_);
    }
    effect_.Reprepare();
}
