#pragma once
#include <cstdint>
#include <optional>

#include "dynamics/detector/kiv_detector_filter.h"
#include "gui/controls/kiv_section_panel.h"
#include "gui/drawing/kiv_bitmap.h"
#include "plugin/kiv_edit_history.h"

class KivButton;
class KivCheckBox;
class KivHouseEditor;
class KivKnob;
class TandrelAudioEffectPlugin;
class TandrelDetectorCurve;

// The drawer's own panel: a section painted over an opaque ground, so that the sections it
// covers while open do not show through.
class TandrelDrawerPanel : public KivSectionPanel {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
};

// The detector drawer, opened from the Detection section over the sections above it: the
// side-chain high- and low-pass (switch and frequency), the six-band equaliser as a curve
// editor, listening to what the detector hears, the psycho-acoustic prefilter, three-phase
// filtering, true RMS and the host's "Side-chain" parameter. None of its settings but the
// last is a host parameter: each edit is written to the effect's stored detector settings
// under the effect's mutex and prepared on the GUI thread, so it plays from the next block;
// states and presets keep it as every other detector setting.
//
// Each edit is one step of the editor's undo history, undone as a change of the whole
// settings (the drawer's settings are no host parameters): a click, a wheel notch or a key is
// a step, and so is a whole drag of a knob or of a curve handle, from press to release.
//
// The two filter switches map onto the stored ones as: "EnabledSideChain" = either on, and
// each filter's own switch, so that a state saved before the own switches existed shows
// both as its one switch said.
class TandrelDetectorDrawer {
public:
    // Binds the controls of the editor's description; throws KivException if one is missing.
    TandrelDetectorDrawer(KivHouseEditor& editor, TandrelAudioEffectPlugin& effect);
    ~TandrelDetectorDrawer();
    TandrelDetectorDrawer(const TandrelDetectorDrawer&) = delete;
    TandrelDetectorDrawer& operator=(const TandrelDetectorDrawer&) = delete;

    // The documentation's picture: the editor of a new instance with the drawer open on a
    // side-chain set against a kick drum and for presence (high-pass 80 Hz, 300 Hz -3 dB,
    // 3 kHz +6 dB with its band selected, the top shelved 6 dB down), painted offscreen at
    // `scale` times its layout.
    static KivBitmap Picture(double scale = 1.0);

    // Shows the effect's settings (after a preset, a state or another window changed them).
    void Load();
    bool IsOpen() const;
    // Opens or closes the drawer; Choose also remembers it for the instance's next editor.
    void SetOpen(bool open);
    void Choose(bool open);

    TandrelDetectorCurve& Curve() { return *curve_; }
    KivCheckBox& HighPass() { return *highPass_; }
    KivCheckBox& LowPass() { return *lowPass_; }
    KivCheckBox& Equalizer() { return *equalizer_; }
    KivCheckBox& Listen() { return *listen_; }
    KivCheckBox& PsychoAcoustic() { return *psychoAcoustic_; }
    KivCheckBox& ThreePhase() { return *threePhase_; }
    KivCheckBox& TrueRMS() { return *trueRMS_; }
    KivKnob& HighPassFrequency() { return *highPassFrequency_; }
    KivKnob& LowPassFrequency() { return *lowPassFrequency_; }
    KivButton& OpenButton() { return *openButton_; }

private:
    class Handlers;
    enum class Source { kSwitches, kKnobs, kCurve };
    void Apply(Source source);
    void BeginDrag();
    void EndDrag();
    KivEditHistory* History() const;
    void ShowFrequencies(const KivDetectorFilterSettings& settings);

    KivHouseEditor& editor_;
    TandrelAudioEffectPlugin& effect_;
    KivControl* panel_ = nullptr;
    TandrelDetectorCurve* curve_ = nullptr;
    KivCheckBox* highPass_ = nullptr;
    KivCheckBox* lowPass_ = nullptr;
    KivCheckBox* equalizer_ = nullptr;
    KivCheckBox* listen_ = nullptr;
    KivCheckBox* psychoAcoustic_ = nullptr;
    KivCheckBox* threePhase_ = nullptr;
    KivCheckBox* trueRMS_ = nullptr;
    KivKnob* highPassFrequency_ = nullptr;
    KivKnob* lowPassFrequency_ = nullptr;
    KivButton* openButton_ = nullptr;
    // The knobs' values live here.
    double highPassHertz_ = 20.0;
    double lowPassHertz_ = 20000.0;
    Handlers* handlers_;
    // The undo step of the drag in progress: the changes it makes join it.
    std::optional<KivEditHistory::SettingsChange> drag_;
};
