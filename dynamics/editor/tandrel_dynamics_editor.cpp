#include "dynamics/editor/tandrel_dynamics_editor.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <cstdio>

#include "base/xml/kiv_xml_item.h"
#include "dynamics/gain/kiv_shape_mode.h"
#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "dynamics/editor/tandrel_advanced_settings_window.h"
#include "dynamics/editor/tandrel_decibel_axis.h"
#include "dynamics/editor/tandrel_detector_curve.h"
#include "dynamics/editor/tandrel_detector_drawer.h"
#include "dynamics/editor/tandrel_editor_description.h"
#include "dynamics/editor/tandrel_level_history_view.h"
#include "dynamics/editor/tandrel_level_meter.h"
#include "dynamics/presets/tandrel_factory_presets.h"
#include "dynamics/editor/tandrel_reduction_meter.h"
#include "dynamics/editor/tandrel_envelope_binding.h"
#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_graph_editor.h"
#include "gui/controls/kiv_knob.h"
#include "gui/controls/kiv_static.h"
#include "gui/core/kiv_panel.h"
#include "gui/core/kiv_window_placement.h"
#include "parameters/kiv_parameter_envelope.h"
#include "plugin/editor/kiv_house_top_bar.h"
#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "plugin/state/kiv_data_folder_source.h"
#include "presets/editor/kiv_morph_window.h"
#include "presets/editor/kiv_plugin_preset_library.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

// The editor's plane is root amplitude; the audio evaluates the shape in the mode's domain
// (amplitude, root amplitude or log10 amplitude), where its segments are straight and its
// corners rounded. The curve is drawn in that domain too, so the editor shows what is heard.
double RootToAmplitude(double v) { return v * v; }
double AmplitudeToRoot(double v) { return std::sqrt(std::max(v, 0.0)); }
double RootToLogarithm(double v) { return std::log10(std::max(v * v, 1e-30)); }
double LogarithmToRoot(double v) { return std::sqrt(std::pow(10.0, v)); }

void DrawInShapeDomain(KivGraphEditor& editor, int32_t mode) {
    if (mode == kKivShapeLinear) editor.SetCurveDomain(&RootToAmplitude, &AmplitudeToRoot);
    else if (mode == kKivShapeLogarithmic) editor.SetCurveDomain(&RootToLogarithm, &LogarithmToRoot);
    else editor.SetCurveDomain(nullptr, nullptr);
}

// Where the meters sit in the "meters" panel (its client coordinates).
constexpr int32_t kMeterTop = 30;
constexpr int32_t kMeterHeight = 236;
constexpr int32_t kOutputLeft = 40;
constexpr int32_t kOutputWidth = 13;
constexpr int32_t kOutputPitch = 16;
constexpr int32_t kReductionLeft = 176;
constexpr int32_t kReductionWidth = 11;
constexpr int32_t kReductionPitch = 14;
// Between the output and the gain-reduction meters when fewer than eight channels show.
constexpr int32_t kGroupGap = 16;
constexpr int32_t kHeldLeft = 36;
constexpr int32_t kHeldPitch = 31;
constexpr int32_t kHeldPeakTop = 270;
constexpr int32_t kHeldReductionTop = 288;
// Held values this small read as silence.
constexpr double kSilence = 1e-7;

// Tenths only where they matter, so that a value fits under its narrow meter.
KivString DecibelText(double amplitude) {
    if (amplitude <= kSilence) return KivString::FromUTF8("-inf");
    double decibels = 20.0 * std::log10(amplitude);
    // A reduction too small to show is no reduction, not "-0.0".
    if (std::fabs(decibels) < 0.05) decibels = 0.0;
    char text[32];
    std::snprintf(text, sizeof text, std::fabs(decibels) < 9.95 ? "%.1f" : "%.0f", decibels);
    return KivString::FromUTF8(text);
}

template <typename T>
T* AddChildAt(KivControl& parent, int32_t x, int32_t y, int32_t width, int32_t height) {
    auto* control = new T();
    parent.AddChild(control);
    control->SetBounds(KivRect{x, y, x + width - 1, y + height - 1});
    return control;
}

}  // namespace

// The editor's reactions to clicks; a separate target, because the editor is no control.
class TandrelDynamicsEditor::Handlers : public KivEventTarget {
public:
    explicit Handlers(TandrelDynamicsEditor& editor) : editor_(editor) {}
    void OnMeterClick(KivOnClickParams&) { editor_.effect_.ResetHeldMeters(); }
    void OnSettings(KivOnClickParams&) { editor_.OpenAdvancedSettings(); }
    void OnExpander1(KivOnClickParams&) { Toggle(editor_.expanders_[0], editor_.effect_.ProductSettings().expander1); }
    void OnExpander2(KivOnClickParams&) { Toggle(editor_.expanders_[1], editor_.effect_.ProductSettings().expander2); }
    void OnCustomShape(KivOnClickParams&) { Toggle(editor_.customShape_, editor_.effect_.ProductSettings().customShape); }

private:
    void Toggle(KivButton* button, uint8_t& byte) {
        if (button) editor_.SetProductSwitch(byte, button->IsChecked());
    }
    TandrelDynamicsEditor& editor_;
};

namespace {

void OpenMorphWindow(KivWindow& parent, KivKestruneAudioEffectPlugin& plugin) { KivMorphWindow::Run(&parent, plugin); }

void OpenPresetLibrary(KivWindow& parent, KivKestruneAudioEffectPlugin& plugin) {
    KivDataFolderSource* folder = plugin.GetDataFolderSource();
    KivPluginPresetLibrary::Run(&parent, plugin, folder ? folder->GetDataFolder() : KivString(),
                                TandrelFactoryPresetDocument());
}

}  // namespace

KivAudioPlugin::KivEditor* TandrelDynamicsEditor::Create(KivAudioPlugin& plugin) {
    KivHouseEditorWindows& windows = KivHouseEditorWindows::Registered();
    windows.morph = &OpenMorphWindow;
    windows.presetLibrary = &OpenPresetLibrary;
    auto* adapter = dynamic_cast<KivAudioEffectPluginToAudioPluginAdapter*>(&plugin);
    auto* effect = adapter ? dynamic_cast<TandrelAudioEffectPlugin*>(adapter->GetEffect()) : nullptr;
    if (!effect) return nullptr;
    return new TandrelDynamicsEditor(plugin, *effect);
}

TandrelDynamicsEditor::TandrelDynamicsEditor(KivAudioPlugin& plugin, TandrelAudioEffectPlugin& effect)
    : KivHouseEditor(plugin), effect_(effect), handlers_(new Handlers(*this)) {
    KivIdentifiedControls& identified = GetIdentifiedControls();
    identified.Add<TandrelDecibelAxis>(GetLoader(), "dbaxis");
    identified.Add<KivGraphEditor>(GetLoader(), "grapheditor");
    identified.Add<TandrelLevelHistoryView>(GetLoader(), "levelhistory");
    identified.Add<KivKnob>(GetLoader(), "knob");
    identified.Add<TandrelDrawerPanel>(GetLoader(), "drawer");
    identified.Add<TandrelDetectorCurve>(GetLoader(), "detectorcurve");
    KivXMLItem description;
    TandrelEditorDescription::Read(TandrelEditorDescription::MainWindow(), description);
    Build(description);
    CreateMeters();
    history_ = Find<TandrelLevelHistoryView>(KivString("history"));
    if (history_) history_->SetSource(&effect_.LevelHistory());
    detector_ = std::make_unique<TandrelDetectorDrawer>(*this, effect_);
    for (int32_t processor = 0; processor < 2; ++processor) expanders_[processor] = Find<KivButton>(KivString("Expander"), processor);
    customShape_ = Find<KivButton>(KivString("customshape"));
    shapeEditor_ = Find<KivGraphEditor>(KivString("shapeeditor"));
    if (shapeEditor_) {
        shapeEditor_->SetAxisLabels(&KivGraphEditor::RootAmplitudeDecibels, &KivGraphEditor::RootAmplitudeDecibels);
        shapeEditor_->SetDiagonal(true);
        shapeBinding_ = std::make_unique<TandrelEnvelopeBinding>(*shapeEditor_, effect_, effect_.DrawnShape().GetEnvelope());
        ReportShapeAsAutomation();
    }
    if (expanders_[0]) expanders_[0]->OnClick.AddHandler(handlers_, &Handlers::OnExpander1);
    if (expanders_[1]) expanders_[1]->OnClick.AddHandler(handlers_, &Handlers::OnExpander2);
    if (customShape_) customShape_->OnClick.AddHandler(handlers_, &Handlers::OnCustomShape);
    if (auto* settings = Find<KivButton>(KivString("Settings"))) settings->OnClick.AddHandler(handlers_, &Handlers::OnSettings);
    effect_.AttachEditor(this);
    effect_.UpdateEditorChannelControls();
    Refresh();
}

// The history runs on its own timer while the window shows, from what is played from now on.
bool TandrelDynamicsEditor::Open(uintptr_t parentWindow) {
    if (!KivHouseEditor::Open(parentWindow)) return false;
    if (history_) history_->Start();
    return true;
}

void TandrelDynamicsEditor::Close() {
    if (history_) history_->Stop();
    KivHouseEditor::Close();
}

TandrelDynamicsEditor::~TandrelDynamicsEditor() {
    effect_.DetachEditor();
    Close();
    shapeBinding_.reset();
    detector_.reset();
    delete handlers_;
}

// The drawn shape's host face: the parameters of the one envelope parameter object.
void TandrelDynamicsEditor::ReportShapeAsAutomation() {
    KivAudioPlugin& plugin = GetPlugin();
    const int32_t count = plugin.GetParameterCount();
    for (int32_t index = 0; index < count; ++index) {
        int32_t local = 0;
        auto* shape = dynamic_cast<KivParameterEnvelope*>(plugin.GetParameters().Find(index, local));
        if (!shape || local != 0) continue;
        shapeBinding_->ReportAsAutomation(plugin, index, static_cast<int32_t>(shape->GetCount()));
        return;
    }
}

void TandrelDynamicsEditor::CreateMeters() {
    KivControl* panel = FindControl(KivString("meters"));
    if (!panel) panel = &GetWindow();
    for (int32_t channel = 0; channel < kChannels; ++channel) {
        outputs_[channel] = AddChildAt<TandrelLevelMeter>(*panel, kOutputLeft + channel * kOutputPitch, kMeterTop,
                                                          kOutputWidth, kMeterHeight);
        reductions_[channel] = AddChildAt<TandrelReductionMeter>(*panel, kReductionLeft + channel * kReductionPitch,
                                                                 kMeterTop, kReductionWidth, kMeterHeight);
        heldPeaks_[channel] = AddChildAt<KivStatic>(*panel, kHeldLeft + channel * kHeldPitch, kHeldPeakTop, kHeldPitch, 16);
        heldReductions_[channel] =
            AddChildAt<KivStatic>(*panel, kHeldLeft + channel * kHeldPitch, kHeldReductionTop, kHeldPitch, 16);
        outputs_[channel]->OnClick.AddHandler(handlers_, &Handlers::OnMeterClick);
        reductions_[channel]->OnClick.AddHandler(handlers_, &Handlers::OnMeterClick);
        GetIdentifiedControls().Note(KivString("output"), *outputs_[channel]);
        GetIdentifiedControls().Note(KivString("gainreduction"), *reductions_[channel]);
    }
}

void TandrelDynamicsEditor::ShowGainReduction(int32_t channel, double position) {
    if (channel >= 0 && channel < kChannels) published_[channel].reduction = position;
}

void TandrelDynamicsEditor::ShowHeldReduction(int32_t channel, double gain) {
    if (channel >= 0 && channel < kChannels) published_[channel].heldReduction = gain;
}

void TandrelDynamicsEditor::ShowOutputLevels(int32_t channel, double peak, double rms, double slowPeak) {
    if (channel < 0 || channel >= kChannels) return;
    published_[channel].peak = peak;
    published_[channel].rms = rms;
    published_[channel].slowPeak = slowPeak;
}

void TandrelDynamicsEditor::ShowHeldPeak(int32_t channel, double amplitude) {
    if (channel >= 0 && channel < kChannels) published_[channel].heldPeak = amplitude;
}

// The controls change (and repaint) only where the shown value does.
void TandrelDynamicsEditor::ShowPublished() {
    Published values[kChannels];
    {
        KivSynchronizerGuard lock(effect_.GetEffectMutex());
        std::copy(std::begin(published_), std::end(published_), std::begin(values));
    }
    for (int32_t channel = 0; channel < kChannels; ++channel) {
        const Published& value = values[channel];
        reductions_[channel]->SetPosition(value.reduction);
        outputs_[channel]->SetLevels(value.peak, value.rms, value.slowPeak);
        SetText(*heldReductions_[channel], DecibelText(value.heldReduction));
        SetText(*heldPeaks_[channel], DecibelText(value.heldPeak));
    }
}

void TandrelDynamicsEditor::ShowChannelMeters(int32_t channels) { channels_.store(channels); }

void TandrelDynamicsEditor::SetText(KivStatic& text, const KivString& value) {
    if (text.GetText() == value) return;
    text.SetText(value);
    text.Invalidate();
}

void TandrelDynamicsEditor::OnRefresh() {
    ApplyChannelCount();
    if (stateChanged_.exchange(false)) ShowProductState();
    GetPlugin().ProcessUpdate();
    ShowPublished();
}

void TandrelDynamicsEditor::ApplyChannelCount() {
    const int32_t channels = channels_.load();
    if (channels == shownChannels_) return;
    shownChannels_ = channels;
    for (int32_t channel = 0; channel < kChannels; ++channel) {
        const bool shown = channel < channels;
        for (KivControl* control : {static_cast<KivControl*>(outputs_[channel]), static_cast<KivControl*>(reductions_[channel]),
                                    static_cast<KivControl*>(heldPeaks_[channel]),
                                    static_cast<KivControl*>(heldReductions_[channel])}) {
            if (control->IsVisible() == shown) continue;
            control->SetVisible(shown);
            if (control->GetParent()) control->GetParent()->Invalidate();
        }
    }
    PlaceReductionMeters(channels);
}

// The gain-reduction meters follow the output meters in use, a little apart, instead of
// leaving the room of the channels that are not there between the two groups.
void TandrelDynamicsEditor::PlaceReductionMeters(int32_t channels) {
    const int32_t shown = std::clamp(channels, 0, kChannels);
    const int32_t gap = shown < kChannels ? kGroupGap : kReductionLeft - (kOutputLeft + kChannels * kOutputPitch);
    const int32_t left = kOutputLeft + shown * kOutputPitch + gap;
    for (int32_t channel = 0; channel < kChannels; ++channel) {
        const int32_t x = left + channel * kReductionPitch;
        reductions_[channel]->SetBounds(KivRect{x, kMeterTop, x + kReductionWidth - 1, kMeterTop + kMeterHeight - 1});
    }
}

// Parameters were applied: the switches that are not host parameters may have changed with
// a preset or a pasted state.
void TandrelDynamicsEditor::ShowProductState() {
    TandrelProductSettings settings;
    int32_t shapeMode = kKivShapeSquared;
    {
        KivSynchronizerGuard lock(effect_.GetEffectMutex());
        settings = effect_.ProductSettings();
        shapeMode = effect_.Parameters().Item(kTandrelShapeMode);
    }
    if (expanders_[0]) expanders_[0]->SetChecked(settings.expander1 != 0);
    if (expanders_[1]) expanders_[1]->SetChecked(settings.expander2 != 0);
    if (customShape_) customShape_->SetChecked(settings.customShape != 0);
    // With the custom shape off the editor shows the automatic shape just built, read-only.
    shapeEditable_ = settings.customShape != 0;
    if (shapeEditor_) {
        shapeEditor_->SetEditable(shapeEditable_);
        DrawInShapeDomain(*shapeEditor_, shapeMode);
        shapeBinding_->Pull();
    }
    if (detector_) detector_->Load();
}

// The switches that are no host parameters are undone as settings.
void TandrelDynamicsEditor::SetProductSwitch(uint8_t& byte, bool on) {
    auto* house = dynamic_cast<KivKestruneAudioEffectPlugin*>(&GetPlugin());
    std::optional<KivEditHistory::SettingsChange> step;
    if (house) step.emplace(house->GetEditHistory());
    {
        KivSynchronizerGuard lock(effect_.GetEffectMutex());
        byte = on ? 1 : 0;
    }
    // Applying the parameters rebuilds the shape from the switches and refreshes this editor.
    effect_.Reprepare();
}

void TandrelDynamicsEditor::OpenAdvancedSettings() {
    auto* house = dynamic_cast<KivKestruneAudioEffectPlugin*>(&GetPlugin());
    std::optional<KivEditHistory::SettingsChange> step;
    if (house) step.emplace(house->GetEditHistory());
    TandrelAdvancedSettingsWindow window(effect_);
    KivCentreWindowOver(window, &GetWindow());
    window.RunModal();
    // It shares true RMS, the prefilter and three-phase filtering with the drawer.
    detector_->Load();
}
