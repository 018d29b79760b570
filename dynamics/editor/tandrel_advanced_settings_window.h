#pragma once
#include <memory>

#include "gui/core/kiv_event.h"
#include "gui/core/kiv_window.h"
#include "gui/loader/kiv_xml_loader.h"

class KivCheckBox;
class KivComboEdit;
class KivControl;
class KivGraphEditor;
class TandrelAudioEffectPlugin;
class TandrelEnvelopeBinding;

// "Advanced settings": the detector's switches, the attack and release shapes and their
// custom envelopes, applied to the effect as they change. A custom envelope's editor is
// enabled only while its list shows "Custom" or "Custom (logarithmic)".
class TandrelAdvancedSettingsWindow : public KivWindow {
public:
    explicit TandrelAdvancedSettingsWindow(TandrelAudioEffectPlugin& effect);
    ~TandrelAdvancedSettingsWindow() override;

    KivComboEdit& AttackMode() { return *attackMode_; }
    KivComboEdit& ReleaseMode() { return *releaseMode_; }
    KivGraphEditor& AttackShape() { return *attackShape_; }
    KivGraphEditor& ReleaseShape() { return *releaseShape_; }

private:
    class Handlers;
    void Load();
    void ShowEditability();
    void Apply();

    TandrelAudioEffectPlugin& effect_;
    KivControl::KivXmlLoader loader_;
    KivCheckBox* trueRMS_ = nullptr;
    KivCheckBox* psychoAcoustic_ = nullptr;
    KivCheckBox* smoothing_ = nullptr;
    KivCheckBox* notLimit_ = nullptr;
    KivComboEdit* attackMode_ = nullptr;
    KivComboEdit* releaseMode_ = nullptr;
    KivGraphEditor* attackShape_ = nullptr;
    KivGraphEditor* releaseShape_ = nullptr;
    std::unique_ptr<TandrelEnvelopeBinding> attackBinding_;
    std::unique_ptr<TandrelEnvelopeBinding> releaseBinding_;
    Handlers* handlers_;
};
