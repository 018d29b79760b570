#pragma once
#include "gui/core/kiv_event.h"
#include "gui/core/kiv_window.h"
#include "gui/loader/kiv_xml_loader.h"

class KivCheckBox;
class KivComboEdit;
class KivControl;
class TandrelAudioEffectPlugin;

// "Advanced settings": the detector's switches, the attack and release shapes and their
// custom envelopes, applied to the effect as they change. A custom envelope's editor is
// enabled only while its list shows "Custom" or "Custom (logarithmic)".
class TandrelAdvancedSettingsWindow : public KivWindow {
public:
    explicit TandrelAdvancedSettingsWindow(TandrelAudioEffectPlugin& effect);
    ~TandrelAdvancedSettingsWindow() override;

    KivComboEdit& AttackMode() { return *attackMode_; }
    KivComboEdit& ReleaseMode() { return *releaseMode_; }
    KivControl& AttackShape() { return *attackShape_; }
    KivControl& ReleaseShape() { return *releaseShape_; }

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
    KivControl* attackShape_ = nullptr;
    KivControl* releaseShape_ = nullptr;
    Handlers* handlers_;
};
