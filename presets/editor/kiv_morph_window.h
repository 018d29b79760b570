#pragma once
#include <functional>

#include "gui/core/kiv_window.h"
#include "gui/drawing/kiv_bitmap.h"
#include "presets/slots/kiv_preset_morph_session.h"

class KivKestruneAudioEffectPlugin;
class KivMorphPad;
class KivPresetMorph;

// Asks the question about slot E in a yes/no window over `parent` (may be null).
class KivPresetEQuestionWindow final : public KivPresetEQuestion {
public:
    explicit KivPresetEQuestionWindow(KivWindow* parent) : parent_(parent) {}
    bool AskToSelectPresetE(const KivString& message) override;

private:
    KivWindow* parent_;
};

class KivButton;

// The modal "ABCD morphing" window ("ABCDEditor"): a 300 x 300 pad whose handle blends the
// parameter values of slots A to D, and below it a strip with "OK" and "Cancel". The pad
// sits at the window's origin, so that its geometry is the window's. OK or Enter keeps the
// morph; Cancel, Escape or closing the window undoes it.
class KivMorphWindow : public KivWindow {
public:
    static constexpr int32_t kSize = 300;
    static constexpr int32_t kCancel = 2;

    // Every move of the handle is applied to `morph`, which also gives the handle's start.
    explicit KivMorphWindow(KivPresetMorph* morph);

    KivMorphPad& GetPad() { return *pad_; }
    KivButton& GetOKButton() { return *ok_; }
    KivButton& GetCancelButton() { return *cancel_; }
    // Centres the window over `parent` (on the screen's work area without one).
    void PlaceOver(const KivWindow* parent);

    bool OnKeyDown(uint32_t key, uint8_t state) override;
    void OnSize() override;

    // The whole morph as the "Morph" button runs it: brings the live slot up to date, shows
    // the window modally over `parent` (may be null), undoes the morph unless it ends with
    // OK, and after OK with one of A..D live asks whether slot E should take the morph.
    // Returns whether the window ended with OK. Never throws.
    static bool Run(KivWindow* parent, KivKestruneAudioEffectPlugin& plugin);
    // The same with the question asked through `question`; `beforeModal`, when given, runs
    // once the window is shown and before its modal loop starts.
    static bool Run(KivWindow* parent, KivKestruneAudioEffectPlugin& plugin, KivPresetEQuestion& question,
                    const std::function<void(KivMorphWindow&)>& beforeModal = {});

    // The pad painted offscreen in the house style with the handle at (x, y).
    static KivBitmap Picture(double x, double y);

private:
    void OnHandleMoved(double x, double y);
    void OnOK(KivOnClickParams& params);
    void OnCancel(KivOnClickParams& params);
    KivButton* AddButton(const char* caption, void (KivMorphWindow::*handler)(KivOnClickParams&));

    KivPresetMorph* morph_;
    // Children: the window deletes them.
    KivMorphPad* pad_;
    KivButton* ok_ = nullptr;
    KivButton* cancel_ = nullptr;
};
