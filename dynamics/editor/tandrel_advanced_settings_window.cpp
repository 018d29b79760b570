#include "dynamics/editor/tandrel_advanced_settings_window.h"

#include <vector>

#include "base/xml/kiv_xml_item.h"
#include "dynamics/editor/tandrel_editor_description.h"
#include "dynamics/editor/tandrel_envelope_binding.h"
#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_graph_editor.h"
#include "gui/controls/kiv_standard_controls.h"
#include "gui/controls/kiv_window_picture.h"
#include "gui/style/kiv_house_style.h"
#include "plugin/editor/kiv_identified_controls.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

bool IsCustom(int32_t mode) {
    return mode == static_cast<int32_t>(KivAttackReleaseMode::kCustom) ||
           mode == static_cast<int32_t>(KivAttackReleaseMode::kCustomLogarithmic);
}

std::vector<KivString> ModeItems() {
    std::vector<KivString> items;
    for (const char* text : kKivAttackReleaseModeTexts) items.push_back(KivString::FromUTF8(text));
    return items;
}

}  // namespace

class TandrelAdvancedSettingsWindow::Handlers : public KivEventTarget {
public:
    explicit Handlers(TandrelAdvancedSettingsWindow& window) : window_(window) {}
    void OnClick(KivOnClickParams&) { window_.Apply(); }
    void OnChange(KivOnNotifyParams&) { window_.Apply(); }
    void OnOk(KivOnClickParams&) {
        if (window_.IsModal()) window_.EndModal(1);
    }

private:
    TandrelAdvancedSettingsWindow& window_;
};

TandrelAdvancedSettingsWindow::TandrelAdvancedSettingsWindow(TandrelAudioEffectPlugin& effect)
    : effect_(effect), handlers_(new Handlers(*this)) {
    SetStyle(&KivHouseStyle::Instance());
    SetBackground(KivHouseStyle::DefaultColor(KivStyleColor::kGeneralBackground));
    KivIdentifiedControls identified;
    KivRegisterStandardControls(loader_);
    identified.RegisterStandard(loader_);
    identified.Add<KivGraphEditor>(loader_, "grapheditor");
    KivXMLItem description;
    TandrelEditorDescription::Read(TandrelEditorDescription::AdvancedSettingsWindow(), description);
    loader_.LoadWindow(description, *this);
    const KivPoint size = GetSize();
    SetBounds(KivRect{0, 0, size.x - 1, size.y - 1});
    KivWindowPicture::ArrangeTree(*this);
    trueRMS_ = identified.Find<KivCheckBox>(KivString("TrueRMS"));
    psychoAcoustic_ = identified.Find<KivCheckBox>(KivString("DynamicsPsychoAcousticPrefiltering"));
    smoothing_ = identified.Find<KivCheckBox>(KivString("ThreePhaseFiltering"));
    notLimit_ = identified.Find<KivCheckBox>(KivString("NotLimitAbove0db"));
    attackMode_ = identified.Find<KivComboEdit>(KivString("AttackMode"));
    releaseMode_ = identified.Find<KivComboEdit>(KivString("ReleaseMode"));
    attackShape_ = identified.Find<KivGraphEditor>(KivString("AttackShape"));
    releaseShape_ = identified.Find<KivGraphEditor>(KivString("ReleaseShape"));
    if (!trueRMS_ || !psychoAcoustic_ || !smoothing_ || !notLimit_ || !attackMode_ || !releaseMode_ || !attackShape_ ||
        !releaseShape_) {
        delete handlers_;
        throw KivException(KivString("The advanced settings description lacks a control."), 2);
    }
    attackBinding_ = std::make_unique<TandrelEnvelopeBinding>(*attackShape_, effect_, effect_.CustomAttackShape());
    releaseBinding_ = std::make_unique<TandrelEnvelopeBinding>(*releaseShape_, effect_, effect_.CustomReleaseShape());
    Load();
    for (KivCheckBox* box : {trueRMS_, psychoAcoustic_, smoothing_, notLimit_}) box->OnClick.AddHandler(handlers_, &Handlers::OnClick);
    for (KivComboEdit* list : {attackMode_, releaseMode_}) list->OnChange.AddHandler(handlers_, &Handlers::OnChange);
    if (auto* ok = identified.Find<KivButton>(KivString("okbutton"))) ok->OnClick.AddHandler(handlers_, &Handlers::OnOk);
}

TandrelAdvancedSettingsWindow::~TandrelAdvancedSettingsWindow() {
    Close();
    attackBinding_.reset();
    releaseBinding_.reset();
    delete handlers_;
}

void TandrelAdvancedSettingsWindow::Load() {
    KivSynchronizerGuard lock(effect_.GetEffectMutex());
    const TandrelProductSettings& product = effect_.ProductSettings();
    KivDynamicsProcessorFollower& follower = effect_.Follower();
    trueRMS_->SetChecked(follower.GetTrueRMS());
    psychoAcoustic_->SetChecked(follower.Filter().settings.psychoAcoustic);
    smoothing_->SetChecked(follower.Filter().settings.spectralSmoothing);
    notLimit_->SetChecked(product.doNotLimitAbove0dB != 0);
    attackMode_->SetItems(ModeItems(), static_cast<int32_t>(product.attackShape));
    releaseMode_->SetItems(ModeItems(), static_cast<int32_t>(product.releaseShape));
    ShowEditability();
}

void TandrelAdvancedSettingsWindow::ShowEditability() {
    attackShape_->SetEnabled(IsCustom(attackMode_->GetSelected()));
    releaseShape_->SetEnabled(IsCustom(releaseMode_->GetSelected()));
    attackShape_->Invalidate();
    releaseShape_->Invalidate();
}

void TandrelAdvancedSettingsWindow::Apply() {
    {
        KivSynchronizerGuard lock(effect_.GetEffectMutex());
        TandrelProductSettings& product = effect_.ProductSettings();
        KivDynamicsProcessorFollower& follower = effect_.Follower();
        follower.SetTrueRMS(trueRMS_->IsChecked());
        follower.Filter().settings.psychoAcoustic = psychoAcoustic_->IsChecked();
        follower.Filter().settings.spectralSmoothing = smoothing_->IsChecked();
        product.doNotLimitAbove0dB = notLimit_->IsChecked() ? 1 : 0;
        product.attackShape = static_cast<KivAttackReleaseMode>(attackMode_->GetSelected());
        product.releaseShape = static_cast<KivAttackReleaseMode>(releaseMode_->GetSelected());
    }
    ShowEditability();
    effect_.Reprepare();
}
