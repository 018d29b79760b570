#pragma once
#include <memory>

#include "base/xml/kiv_xml_item.h"
#include "hosts/vst2/kiv_vst_program_list.h"

class KivKestruneAudioEffectPlugin;

// The product's factory presets as a VST 2.4 host's programs: each preset's name, and loading
// one replaces the live settings as a whole, as the preset library window does.
class KivFactoryProgramList final : public KivVstProgramList {
public:
    // Null when there is no document, it holds no presets or it cannot be read: the host then
    // lists no programs.
    static std::unique_ptr<KivFactoryProgramList> Create(const char* document, KivKestruneAudioEffectPlugin& plugin);

    int32_t Count() const override { return presets_->GetSubItemCount(); }
    KivString Name(int32_t index) const override;
    void Load(int32_t index) override;

private:
    KivFactoryProgramList(KivKestruneAudioEffectPlugin& plugin, std::shared_ptr<const KivXMLItem> presets)
        : plugin_(plugin), presets_(std::move(presets)) {}

    KivKestruneAudioEffectPlugin& plugin_;
    // Parsed once per process and shared by every instance: only read, never changed.
    std::shared_ptr<const KivXMLItem> presets_;
};
