#include "hosts/vst2/kiv_vst_plugin_description.h"

#include "plugin/kiv_audio_effect_plugin.h"
#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"
#include "plugin/kiv_channel_names.h"

KivVstPluginDescription::KivVstPluginDescription(KivAudioPlugin& plugin)
    : plugin_(plugin), effectAdapter_(dynamic_cast<KivAudioEffectPluginToAudioPluginAdapter*>(&plugin)) {}

KivString KivVstPluginDescription::Name() const {
    return effectAdapter_ ? effectAdapter_->GetPluginName() : KivString();
}

KivString KivVstPluginDescription::Vendor() const {
    return effectAdapter_ ? effectAdapter_->GetVendorName() : KivString();
}

int32_t KivVstPluginDescription::InputChannels() const {
    KivAudioEffectPlugin* effect = effectAdapter_ ? effectAdapter_->GetEffect() : nullptr;
    const int32_t buses = effect ? effect->GetInputBusCount() : 1;
    return buses * plugin_.GetChannelsPerGroup();
}

int32_t KivVstPluginDescription::OutputChannels() const { return plugin_.GetChannelsPerGroup(); }

KivString KivVstPluginDescription::InputChannelName(int32_t index) const {
    if (effectAdapter_) return effectAdapter_->GetInputChannelName(index);
    return KivChannelNames::Input(index, 1, plugin_.GetChannelsPerGroup());
}

KivString KivVstPluginDescription::OutputChannelName(int32_t index) const {
    if (effectAdapter_) return effectAdapter_->GetOutputChannelName(index);
    return KivChannelNames::Output(index, plugin_.GetChannelsPerGroup());
}

bool KivVstPluginDescription::AcceptsMIDIInput() const { return effectAdapter_ != nullptr; }
