#include "presets/editor/kiv_morph_window.h"

#include <memory>

#include "base/kiv_boundary.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_metrics.h"
#include "presets/editor/kiv_editor_dialogs.h"
#include "presets/editor/kiv_morph_pad.h"
#include "presets/slots/kiv_preset_morph.h"

namespace {

// The strip under the pad: the house buttons with the house spacing around them.
constexpr int32_t kStripPadding = 8;
constexpr int32_t kStripHeight = KivStyleMetrics::kButtonSize.y + 2 * kStripPadding;

// Shows the pad window for the morph session and remembers how it ended.
class KivMorphPadDialog final : public KivPresetMorphDialog {
public:
    KivMorphPadDialog(KivWindow* parent, const std::function<void(KivMorphWindow&)>& beforeModal)
        : parent_(parent), beforeModal_(beforeModal) {}

    int32_t Run(KivPresetMorph& morph) override {
        KivMorphWindow window(&morph);
        window.PlaceOver(parent_);
        window.Show();
        if (beforeModal_) beforeModal_(window);
        result_ = window.RunModal();
        return result_;
    }
    bool EndedWithOK() const { return result_ == kOK; }

private:
    KivWindow* parent_;
    const std::function<void(KivMorphWindow&)>& beforeModal_;
    int32_t result_ = 0;
};

}  // namespace

bool KivPresetEQuestionWindow::AskToSelectPresetE(const KivString& message) {
    return KivEditorDialogs::AskYesNo(parent_, KivString("ABCD morphing"), message);
}

KivMorphWindow::KivMorphWindow(KivPresetMorph* morph) : morph_(morph), pad_(new KivMorphPad()) {
    SetText(KivString("ABCD morphing"));
    SetStyle(&KivHouseStyle::Instance());
    SetBackground(KivHouseStyle::DefaultColor(KivStyleColor::kGeneralBackground));
    AddChild(pad_);
    if (morph_ != nullptr) pad_->SetPosition(morph_->GetX(), morph_->GetY());
    pad_->onMove = [this](double x, double y) { OnHandleMoved(x, y); };
    ok_ = AddButton("OK", &KivMorphWindow::OnOK);
    cancel_ = AddButton("Cancel", &KivMorphWindow::OnCancel);
    SetBounds(KivRect{0, 0, kSize - 1, kSize + kStripHeight - 1});
}

KivButton* KivMorphWindow::AddButton(const char* caption, void (KivMorphWindow::*handler)(KivOnClickParams&)) {
    auto* button = new KivButton();
    AddChild(button);
    button->SetText(KivString(caption));
    button->OnClick.AddHandler(this, handler);
    return button;
}

void KivMorphWindow::OnOK(KivOnClickParams&) { EndModal(KivPresetMorphDialog::kOK); }

void KivMorphWindow::OnCancel(KivOnClickParams&) { EndModal(kCancel); }

void KivMorphWindow::PlaceOver(const KivWindow* parent) { KivEditorDialogs::CentreOver(*this, parent); }

// The pad keeps the square above the strip; the buttons sit at the strip's right, Cancel
// outermost, as in the house's message windows.
void KivMorphWindow::OnSize() {
    KivWindow::OnSize();
    const KivRect client = GetClientRect();
    const int32_t stripTop = client.bottom - kStripHeight + 1;
    pad_->SetBounds(KivRect{client.left, client.top, client.right, stripTop - 1});
    if (!ok_ || !cancel_) return;
    const KivPoint size = KivStyleMetrics::kButtonSize;
    const int32_t top = stripTop + kStripPadding;
    int32_t right = client.right - kStripPadding;
    for (KivButton* button : {cancel_, ok_}) {
        button->SetBounds(KivRect{right - size.x + 1, top, right, top + size.y - 1});
        right -= size.x + KivStyleMetrics::kControlSpacing;
    }
}

bool KivMorphWindow::OnKeyDown(uint32_t key, uint8_t state) {
    if (key == KivKeyCode::kEnter) {
        EndModal(KivPresetMorphDialog::kOK);
        return true;
    }
    if (key == KivKeyCode::kEscape) {
        EndModal(kCancel);
        return true;
    }
    return KivWindow::OnKeyDown(key, state);
}

void KivMorphWindow::OnHandleMoved(double x, double y) {
    if (morph_ != nullptr) morph_->MoveTo(x, y);
}

bool KivMorphWindow::Run(KivWindow* parent, KivKestruneAudioEffectPlugin& plugin) {
    KivPresetEQuestionWindow question(parent);
    return Run(parent, plugin, question);
}

bool KivMorphWindow::Run(KivWindow* parent, KivKestruneAudioEffectPlugin& plugin, KivPresetEQuestion& question,
                         const std::function<void(KivMorphWindow&)>& beforeModal) {
    KivMorphPadDialog dialog(parent, beforeModal);
    KivPresetMorphSession::Run(plugin, dialog, question);
    return dialog.EndedWithOK();
}

KivBitmap KivMorphWindow::Picture(double x, double y) {
    std::unique_ptr<KivWindows> ownWindows;
    auto* system = dynamic_cast<KivWindowSystemOffscreen*>(KivWindows::System());
    if (system == nullptr) {
        system = new KivWindowSystemOffscreen();
        ownWindows = std::make_unique<KivWindows>(system);
    }
    KivMorphWindow window(nullptr);
    window.GetPad().SetPosition(x, y);
    window.Show();
    system->ProcessPendingEvents();
    const KivBitmap* screen = system->GetScreen(window);
    KivBitmap picture(kSize, kSize);
    for (int32_t y = 0; screen != nullptr && y < kSize; ++y)
        for (int32_t x = 0; x < kSize; ++x) picture.Set(x, y, screen->At(x, y));
    window.Close();
    return picture;
}
