#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "dynamics/processing/tandrel_meter_view.h"
#include "gui/core/kiv_event.h"
#include "plugin/editor/kiv_house_editor.h"

class KivButton;
class KivGraphEditor;
class TandrelEnvelopeBinding;
class KivStatic;
class TandrelAudioEffectPlugin;
class TandrelDetectorDrawer;
class TandrelLevelHistoryView;
class TandrelLevelMeter;
class TandrelReductionMeter;

// TandrelMini's editor: the house editor with the product's controls, meters and settings
// window. The effect publishes its meters into it under the effect's mutex, from the refresh
// step and, in gain-only mode, from the audio thread: the editor only notes the values there
// and shows them on the GUI thread at the end of each refresh, as it does what other threads
// tell it (parameters applied, channel count).
class TandrelDynamicsEditor : public KivHouseEditor, public TandrelMeterView {
public:
    static constexpr int32_t kChannels = 8;

    TandrelDynamicsEditor(KivAudioPlugin& plugin, TandrelAudioEffectPlugin& effect);
    ~TandrelDynamicsEditor() override;

    // What the plug-in core's editor factory answers for TandrelMini.
    static KivAudioPlugin::KivEditor* Create(KivAudioPlugin& plugin);

    bool Open(uintptr_t parentWindow) override;
    void Close() override;

    // ---- TandrelMeterView -------------------------------------------------------------------
    void ShowGainReduction(int32_t channel, double position) override;
    void ShowHeldReduction(int32_t channel, double gain) override;
    void ShowOutputLevels(int32_t channel, double peak, double rms, double slowPeak) override;
    void ShowHeldPeak(int32_t channel, double amplitude) override;
    void ShowChannelMeters(int32_t channels) override;
    void RefreshState() override { stateChanged_.store(true); }
    void UpdateLevelGraph() override {}

    TandrelLevelMeter& OutputMeter(int32_t channel) { return *outputs_[channel]; }
    TandrelReductionMeter& ReductionMeter(int32_t channel) { return *reductions_[channel]; }
    KivStatic& HeldPeakText(int32_t channel) { return *heldPeaks_[channel]; }
    KivStatic& HeldReductionText(int32_t channel) { return *heldReductions_[channel]; }
    TandrelLevelHistoryView* LevelHistory() { return history_; }
    // The shape editor takes edits only while the custom shape is on.
    bool IsShapeEditable() const { return shapeEditable_; }
    // Opens the advanced settings window modally over the editor.
    void OpenAdvancedSettings();
    // The detector drawer of the Detection section.
    TandrelDetectorDrawer& Detector() { return *detector_; }

protected:
    void OnRefresh() override;

private:
    class Handlers;
    // What the effect last published, per channel; written and read under the effect's mutex.
    struct Published {
        double reduction = 1.0;
        double heldReduction = 1.0;
        double peak = 0.0;
        double rms = 0.0;
        double slowPeak = 0.0;
        double heldPeak = 0.0;
    };
    void ShowPublished();
    void CreateMeters();
    void ReportShapeAsAutomation();
    void ShowProductState();
    void ApplyChannelCount();
    void PlaceReductionMeters(int32_t channels);
    void SetProductSwitch(uint8_t& byte, bool on);
    static void SetText(KivStatic& text, const KivString& value);

    TandrelAudioEffectPlugin& effect_;
    TandrelLevelMeter* outputs_[kChannels] = {};
    TandrelReductionMeter* reductions_[kChannels] = {};
    KivStatic* heldPeaks_[kChannels] = {};
    KivStatic* heldReductions_[kChannels] = {};
    Published published_[kChannels];
    KivButton* expanders_[2] = {};
    KivButton* customShape_ = nullptr;
    KivGraphEditor* shapeEditor_ = nullptr;
    TandrelLevelHistoryView* history_ = nullptr;
    std::unique_ptr<TandrelEnvelopeBinding> shapeBinding_;
    std::unique_ptr<TandrelDetectorDrawer> detector_;
    bool shapeEditable_ = false;
    int32_t shownChannels_ = -1;
    std::atomic<int32_t> channels_{kChannels};
    std::atomic<bool> stateChanged_{true};
    Handlers* handlers_;
};
