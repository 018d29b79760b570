#include "plugin/editor/midi/kiv_midi_window.h"

#include <algorithm>

#include "base/kiv_boundary.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/core/kiv_window_placement.h"
#include "gui/core/kiv_windows.h"
#include "gui/layout/kiv_layouts.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_metrics.h"
#include "plugin/editor/midi/kiv_midi_controllers_panel.h"
#include "plugin/editor/midi/kiv_midi_notes_panel.h"
#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"

namespace {

constexpr int32_t kMargin = 14;
constexpr int32_t kPageButtonWidth = 110;
constexpr int32_t kBarHeight = KivStyleMetrics::kButtonSize.y;

KivButton* MakeButton(KivWindow& window, const char* caption) {
    auto* button = new KivButton();
    button->SetText(KivString(caption));
    window.AddChild(button);
    return button;
}

}  // namespace

KivMIDIWindow::KivMIDIWindow(KivAudioEffectPluginToAudioPluginAdapter& plugin, Page page)
    : controllers_(new KivMIDIControllersPanel(plugin, plugin.GetMIDIControllers())),
      notes_(new KivMIDINotesPanel(plugin, plugin.GetMIDIControllers())),
      controllersButton_(MakeButton(*this, "Controllers")),
      notesButton_(MakeButton(*this, "Notes")),
      close_(MakeButton(*this, "Close")) {
    SetText(KivString("MIDI controllers"));
    SetStyle(&KivHouseStyle::Instance());
    SetBackground(KivHouseStyle::DefaultColor(KivStyleColor::kGeneralBackground));
    AddChild(controllers_);
    AddChild(notes_);
    controllersButton_->OnClick.AddHandler(this, &KivMIDIWindow::OnPageButton);
    notesButton_->OnClick.AddHandler(this, &KivMIDIWindow::OnPageButton);
    close_->OnClick.AddHandler(this, &KivMIDIWindow::OnClose);
    // Both panels get the room of the larger, so switching never resizes the window.
    const KivPoint a = KivLayouts::ComputeCurrentSize(*controllers_);
    const KivPoint b = KivLayouts::ComputeCurrentSize(*notes_);
    const KivPoint panel{std::max(a.x, b.x), std::max(a.y, b.y)};
    SetBounds(KivRect{0, 0, panel.x + 2 * kMargin - 1, panel.y + 2 * kBarHeight + 4 * kMargin - 1});
    ShowPage(page);
}

void KivMIDIWindow::ShowPage(Page page) {
    page_ = page;
    controllers_->SetVisible(page == Page::kControllers);
    notes_->SetVisible(page == Page::kNotes);
    controllersButton_->SetChecked(page == Page::kControllers);
    notesButton_->SetChecked(page == Page::kNotes);
}

void KivMIDIWindow::Arrange() {
    const KivRect client = GetClientRect();
    const int32_t top = kMargin;
    controllersButton_->SetBounds(KivRect{kMargin, top, kMargin + kPageButtonWidth - 1, top + kBarHeight - 1});
    const int32_t notesLeft = kMargin + kPageButtonWidth + KivStyleMetrics::kControlSpacing;
    notesButton_->SetBounds(KivRect{notesLeft, top, notesLeft + kPageButtonWidth - 1, top + kBarHeight - 1});
    const int32_t bottom = client.bottom - kMargin;
    const int32_t closeLeft = client.right - kMargin - KivStyleMetrics::kButtonSize.x + 1;
    close_->SetBounds(KivRect{closeLeft, bottom - kBarHeight + 1, client.right - kMargin, bottom});
    const KivRect body{kMargin, top + kBarHeight + kMargin, client.right - kMargin, bottom - kBarHeight - kMargin};
    for (KivPanel* panel : {static_cast<KivPanel*>(controllers_), static_cast<KivPanel*>(notes_)}) {
        panel->SetBounds(body);
        panel->Arrange();
    }
}

bool KivMIDIWindow::OnKeyDown(uint32_t key, uint8_t state) {
    if (key == KivKeyCode::kEscape) {
        EndModal(1);
        return true;
    }
    return KivWindow::OnKeyDown(key, state);
}

void KivMIDIWindow::OnPageButton(KivOnClickParams& params) {
    ShowPage(params.sender == notesButton_ ? Page::kNotes : Page::kControllers);
}

void KivMIDIWindow::Run(KivWindow* parent, KivAudioEffectPluginToAudioPluginAdapter& plugin, Page page,
                        const std::function<void(KivMIDIWindow&)>& beforeModal) {
    KivGuard("KivMIDIWindow::Run", [&] {
        KivMIDIWindow window(plugin, page);
        KivCentreWindowOver(window, parent);
        window.Show();
        if (beforeModal) beforeModal(window);
        window.RunModal();
    });
}
