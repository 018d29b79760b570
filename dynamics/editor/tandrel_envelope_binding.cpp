#include "dynamics/editor/tandrel_envelope_binding.h"

#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "gui/controls/kiv_graph_editor.h"
#include "plugin/kiv_audio_plugin.h"
#include "plugin/kiv_plugin_host.h"
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

void TandrelEnvelopeBinding::ReportAsAutomation(KivAudioPlugin& plugin, int32_t first, int32_t count) {
    plugin_ = &plugin;
    first_ = first;
    reported_.assign(static_cast<size_t>(count), 0.0);
    editing_.assign(static_cast<size_t>(count), false);
    for (int32_t local = 0; local < count; ++local) reported_[static_cast<size_t>(local)] = plugin.GetParameter(first + local);
}

void TandrelEnvelopeBinding::OnChange(KivOnNotifyParams&) {
    {
        KivSynchronizerGuard lock(effect_.GetEffectMutex());
        target_.CopyFrom(copy_);
    }
    effect_.Reprepare();
    ReportChanges();
}

void TandrelEnvelopeBinding::OnEnd(KivOnNotifyParams&) {
    inGesture_ = false;
    if (!plugin_) return;
    for (size_t local = 0; local < editing_.size(); ++local) {
        if (!editing_[local]) continue;
        editing_[local] = false;
        plugin_->EndEdit(first_ + static_cast<int32_t>(local));
    }
}

void TandrelEnvelopeBinding::ReportChanges() {
    KivPluginHost* host = plugin_ ? plugin_->GetPluginHost() : nullptr;
    if (!host) return;
    for (size_t local = 0; local < reported_.size(); ++local) {
        const int32_t index = first_ + static_cast<int32_t>(local);
        const double value = plugin_->GetParameter(index);
        if (value == reported_[local]) continue;
        reported_[local] = value;
        if (!editing_[local]) {
            editing_[local] = true;
            plugin_->BeginEdit(index);
        }
        host->SendAutomation(index, value);
    }
}
