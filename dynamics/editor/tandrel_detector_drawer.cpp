#include "dynamics/editor/tandrel_detector_drawer.h"

#include <cmath>
#include <memory>

#include "base/kiv_exception.h"
#include "dynamics/editor/tandrel_detector_curve.h"
#include "dynamics/editor/tandrel_dynamics_editor.h"
#include "dynamics/effect/tandrel_effect_interface.h"
#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_knob.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "gui/style/kiv_style_access.h"
#include "parameters/values/kiv_value_frequency.h"
#include "plugin/editor/kiv_house_editor.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

// The filters' open ends: a high-pass at 20 Hz or a low-pass at 20 kHz does nothing.
constexpr double kOpenHighPass = 20.0;
constexpr double kOpenLowPass = 20000.0;
// Where a filter switched on at its open end starts, so that switching it on is heard.
constexpr double kFirstHighPass = 80.0;
constexpr double kFirstLowPass = 8000.0;
constexpr double kOpenTolerance = 1.0;

template <typename T>
T& Bound(KivHouseEditor& editor, const char* identifier) {
    T* control = editor.Find<T>(KivString(identifier));
    if (control == nullptr) throw KivException(KivString("The editor description lacks the detector's ") + KivString(identifier), 2);
    return *control;
}

}  // namespace

void TandrelDrawerPanel::Paint(KivDrawer& drawer, const KivRect& dirty) {
    drawer.FillRectangle(GetWindowRect(), KivStyleAccess::Color(drawer, KivStyleColor::kGeneralBackground), KivDrawingMode::kCopy);
    KivSectionPanel::Paint(drawer, dirty);
}

class TandrelDetectorDrawer::Handlers : public KivEventTarget {
public:
    explicit Handlers(TandrelDetectorDrawer& drawer) : drawer_(drawer) {}
    void OnSwitch(KivOnClickParams&) { drawer_.Apply(Source::kSwitches); }
    void OnKnob(KivOnNotifyParams&) { drawer_.Apply(Source::kKnobs); }
    void OnCurve(KivOnNotifyParams&) { drawer_.Apply(Source::kCurve); }
    void OnBeginDrag(KivOnNotifyParams&) { drawer_.BeginDrag(); }
    void OnEndDrag(KivOnNotifyParams&) { drawer_.EndDrag(); }
    void OnOpen(KivOnClickParams&) { drawer_.Choose(drawer_.openButton_->IsChecked()); }
    void OnClose(KivOnClickParams&) { drawer_.Choose(false); }

private:
    TandrelDetectorDrawer& drawer_;
};

TandrelDetectorDrawer::TandrelDetectorDrawer(KivHouseEditor& editor, TandrelAudioEffectPlugin& effect)
    : editor_(editor), effect_(effect), handlers_(new Handlers(*this)) {
    try {
        panel_ = &Bound<KivControl>(editor, "detector");
        curve_ = &Bound<TandrelDetectorCurve>(editor, "detectorcurve");
        highPass_ = &Bound<KivCheckBox>(editor, "highpass");
        lowPass_ = &Bound<KivCheckBox>(editor, "lowpass");
        equalizer_ = &Bound<KivCheckBox>(editor, "equalizer");
        listen_ = &Bound<KivCheckBox>(editor, "listen");
        psychoAcoustic_ = &Bound<KivCheckBox>(editor, "psychoacoustic");
        threePhase_ = &Bound<KivCheckBox>(editor, "threephase");
        trueRMS_ = &Bound<KivCheckBox>(editor, "truerms");
        highPassFrequency_ = &Bound<KivKnob>(editor, "highpassfrequency");
        lowPassFrequency_ = &Bound<KivKnob>(editor, "lowpassfrequency");
        openButton_ = &Bound<KivButton>(editor, "detectorbutton");
    } catch (...) {
        delete handlers_;
        throw;
    }
    highPassFrequency_->BindValue(std::make_unique<KivValueFrequency>(highPassHertz_, kOpenHighPass, kOpenLowPass, kOpenHighPass));
    lowPassFrequency_->BindValue(std::make_unique<KivValueFrequency>(lowPassHertz_, kOpenHighPass, kOpenLowPass, kOpenLowPass));
    for (KivCheckBox* box : {highPass_, lowPass_, equalizer_, listen_, psychoAcoustic_, threePhase_, trueRMS_})
        box->OnClick.AddHandler(handlers_, &Handlers::OnSwitch);
    for (KivKnob* knob : {highPassFrequency_, lowPassFrequency_}) {
        knob->OnChange.AddHandler(handlers_, &Handlers::OnKnob);
        knob->OnBeginEdit.AddHandler(handlers_, &Handlers::OnBeginDrag);
        knob->OnEndEdit.AddHandler(handlers_, &Handlers::OnEndDrag);
    }
    curve_->OnChange.AddHandler(handlers_, &Handlers::OnCurve);
    curve_->OnBeginEdit.AddHandler(handlers_, &Handlers::OnBeginDrag);
    curve_->OnEndEdit.AddHandler(handlers_, &Handlers::OnEndDrag);
    openButton_->OnClick.AddHandler(handlers_, &Handlers::OnOpen);
    if (auto* close = editor.Find<KivButton>(KivString("detectorclose"))) close->OnClick.AddHandler(handlers_, &Handlers::OnClose);
    Load();
    SetOpen(effect_.GetEditorView().detectorOpen);
}

// A drag the editor's end cuts short is kept as far as it went, as its release would keep it.
TandrelDetectorDrawer::~TandrelDetectorDrawer() {
    delete handlers_;
    drag_.reset();
}

KivEditHistory* TandrelDetectorDrawer::History() const {
    auto* house = dynamic_cast<KivKestruneAudioEffectPlugin*>(&editor_.GetPlugin());
    return house ? &house->GetEditHistory() : nullptr;
}

// Only one drag at a time: a press that arrives without the last release (a lost capture)
// ends the step before it.
void TandrelDetectorDrawer::BeginDrag() {
    drag_.reset();
    if (KivEditHistory* history = History()) drag_.emplace(*history);
}

void TandrelDetectorDrawer::EndDrag() { drag_.reset(); }

bool TandrelDetectorDrawer::IsOpen() const { return panel_->IsVisible(); }

void TandrelDetectorDrawer::SetOpen(bool open) {
    openButton_->SetChecked(open);
    openButton_->Invalidate();
    if (panel_->IsVisible() == open) return;
    panel_->SetVisible(open);
    // Opening covers the sections above Detection, closing shows them again.
    editor_.GetWindow().Invalidate();
}

// The user's choice outlives the editor (hosts destroy it with its window): the instance's
// next editor opens the drawer as this one was left. It stays out of states and the family's
// settings: pictures and new instances show the sections, not a drawer someone left open.
void TandrelDetectorDrawer::Choose(bool open) {
    SetOpen(open);
    effect_.GetEditorView().detectorOpen = open;
}

void TandrelDetectorDrawer::Load() {
    KivDetectorFilterSettings settings;
    bool listen = false, trueRMS = false;
    double rate = 0.0;
    {
        KivSynchronizerGuard lock(effect_.GetEffectMutex());
        KivDynamicsProcessorFollower& follower = effect_.Follower();
        settings = follower.Filter().settings;
        rate = follower.Filter().DesignRate();
        listen = follower.GetSideChainPlay();
        trueRMS = follower.GetTrueRMS();
    }
    highPass_->SetChecked(settings.enabledSideChain && settings.highPass);
    lowPass_->SetChecked(settings.enabledSideChain && settings.lowPass);
    equalizer_->SetChecked(settings.equalizerEnabled);
    listen_->SetChecked(listen);
    psychoAcoustic_->SetChecked(settings.psychoAcoustic);
    threePhase_->SetChecked(settings.spectralSmoothing);
    trueRMS_->SetChecked(trueRMS);
    ShowFrequencies(settings);
    curve_->Show(settings, rate);
}

// The knobs repaint only when their frequencies moved.
void TandrelDetectorDrawer::ShowFrequencies(const KivDetectorFilterSettings& settings) {
    if (highPassHertz_ != settings.minFrequency) {
        highPassHertz_ = settings.minFrequency;
        highPassFrequency_->Refresh();
    }
    if (lowPassHertz_ != settings.maxFrequency) {
        lowPassHertz_ = settings.maxFrequency;
        lowPassFrequency_->Refresh();
    }
}

void TandrelDetectorDrawer::Apply(Source source) {
    KivDetectorFilterSettings settings = curve_->Settings();
    if (source == Source::kKnobs) {
        settings.minFrequency = highPassHertz_;
        settings.maxFrequency = lowPassHertz_;
    }
    const bool highPass = highPass_->IsChecked(), lowPass = lowPass_->IsChecked();
    if (source == Source::kSwitches) {
        // A filter switched on where it does nothing moves to where it is heard.
        const bool wasHighPass = settings.enabledSideChain && settings.highPass;
        const bool wasLowPass = settings.enabledSideChain && settings.lowPass;
        if (highPass && !wasHighPass && std::fabs(settings.minFrequency - kOpenHighPass) < kOpenTolerance)
            settings.minFrequency = kFirstHighPass;
        if (lowPass && !wasLowPass && std::fabs(settings.maxFrequency - kOpenLowPass) < kOpenTolerance)
            settings.maxFrequency = kFirstLowPass;
    }
    settings.enabledSideChain = highPass || lowPass;
    settings.highPass = highPass;
    settings.lowPass = lowPass;
    settings.equalizerEnabled = equalizer_->IsChecked();
    settings.psychoAcoustic = psychoAcoustic_->IsChecked();
    settings.spectralSmoothing = threePhase_->IsChecked();
    // A step of its own, or part of the drag in progress.
    std::optional<KivEditHistory::SettingsChange> step;
    if (KivEditHistory* history = History()) step.emplace(*history);
    double rate = 0.0;
    {
        KivSynchronizerGuard lock(effect_.GetEffectMutex());
        KivDynamicsProcessorFollower& follower = effect_.Follower();
        follower.Filter().settings = settings;
        follower.SetSideChainPlay(listen_->IsChecked());
        follower.SetTrueRMS(trueRMS_->IsChecked());
        rate = follower.Filter().DesignRate();
    }
    // Prepared here, off the audio thread; the detector hears it from the next block.
    effect_.Reprepare();
    ShowFrequencies(settings);
    curve_->Show(settings, rate);
}

KivBitmap TandrelDetectorDrawer::Picture(double scale) {
    std::unique_ptr<KivWindows> ownWindows;
    auto* system = dynamic_cast<KivWindowSystemOffscreen*>(KivWindows::System());
    if (system == nullptr) {
        system = new KivWindowSystemOffscreen();
        ownWindows = std::make_unique<KivWindows>(system);
    }
    KivKestruneAudioEffectPlugin plugin;
    plugin.Initialize("TandrelMini", "Kestrune", &TandrelEffectInterface);
    plugin.SetHostChannels(2, 2);
    plugin.SetConnectedChannels(2, 2);
    plugin.SetSampleRate(48000);
    plugin.SetMaxBlockSize(512);
    plugin.InitProcessing();
    auto& effect = *static_cast<TandrelAudioEffectPlugin*>(plugin.GetEffect());
    {
        KivSynchronizerGuard lock(effect.GetEffectMutex());
        KivDetectorFilterSettings& s = effect.Follower().Filter().settings;
        s.enabledSideChain = true;
        s.highPass = true;
        s.lowPass = false;
        s.minFrequency = 80.0;
        s.equalizerEnabled = true;
        s.equalizer.bands[1].gainDecibels = -3.0;
        s.equalizer.bands[3] = {3000.0, 1.4, 6.0};
        s.equalizer.bands[5].gainDecibels = -6.0;
    }
    effect.Reprepare();
    // Made as a host's request makes it, so that the top bar's windows are registered too.
    std::unique_ptr<KivAudioPlugin::KivEditor> made(TandrelDynamicsEditor::Create(plugin));
    auto* editor = dynamic_cast<TandrelDynamicsEditor*>(made.get());
    if (editor == nullptr) return KivBitmap();
    // Shown at the size asked for as a chosen size is shown, so that the size menu reads it
    // too; the user's last choice for the family's editors is neither used nor changed.
    editor->ShowAtZoom(scale);
    editor->Detector().SetOpen(true);
    editor->Detector().Curve().Select(3);
    KivBitmap picture;
    if (editor->Open(0)) {
        system->ProcessPendingEvents();
        if (const KivBitmap* screen = system->GetScreen(editor->GetWindow())) picture = screen->Clone();
    }
    editor->Close();
    return picture;
}
