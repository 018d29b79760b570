// The MIDI controllers window on the offscreen window system, driven by injected input:
// edits reach the MIDI processor's slots, learn takes the next controller or note.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_edit.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_png_writer.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "plugin/editor/midi/kiv_midi_controllers_panel.h"
#include "plugin/editor/midi/kiv_midi_notes_panel.h"
#include "plugin/editor/midi/kiv_midi_window.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

namespace {

constexpr auto kLeft = KivMouseButton::kLeft;

class MIDIWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        system = new KivWindowSystemOffscreen();
        windows = std::make_unique<KivWindows>(system);
        window = std::make_unique<KivMIDIWindow>(unity.plugin, KivMIDIWindow::Page::kControllers);
        window->Show();
        system->ProcessPendingEvents();
    }
    void TearDown() override {
        window.reset();
        windows.reset();
    }
    KivPoint Inside(KivControl& control) {
        const KivRect rect = control.GetWindowRect();
        return KivPoint{rect.left + 6, rect.top + rect.Height() / 2};
    }
    void Click(KivControl& control) {
        system->InjectMouseDown(*window, Inside(control), kLeft);
        system->InjectMouseUp(*window, Inside(control), kLeft);
        system->ProcessPendingEvents();
    }
    // The wheel steps a menu by one item per turn, downwards for negative turns.
    void Wheel(KivControl& control, int32_t turns) {
        for (int32_t turn = 0; turn < turns; ++turn) system->InjectMouseWheel(*window, Inside(control), -120);
        system->ProcessPendingEvents();
    }
    void Type(KivControl& field, const char* text) {
        Click(field);
        system->InjectKeyDown(*window, KivKeyCode::kEnd);
        for (int i = 0; i < 8; ++i) system->InjectKeyDown(*window, KivKeyCode::kBackspace);
        for (const char* c = text; *c != 0; ++c) system->InjectCharacter(*window, static_cast<char32_t>(*c));
        system->InjectKeyDown(*window, KivKeyCode::kEnter);
        system->ProcessPendingEvents();
    }
    // Repaints the whole window at once (repaints otherwise wait for the invalidator thread).
    void Picture(const char* name) {
        system->Invalidate(*window, nullptr);
        system->ProcessPendingEvents();
        if (const char* folder = std::getenv("KIV_PICTURES_DIR"))
            KivPngWriter::Write(*system->GetScreen(*window), (std::filesystem::path(folder) / name).string() + ".png");
    }
    KivMIDIControllers& Controllers() { return unity.plugin.GetMIDIControllers(); }

    UnityGainPlugin unity;
    KivWindowSystemOffscreen* system = nullptr;
    std::unique_ptr<KivWindows> windows;
    std::unique_ptr<KivMIDIWindow> window;
};

TEST_F(MIDIWindowTest, EditingAControllerRowSetsTheSlotThatThenDrivesTheParameter) {
    KivMIDIControllersPanel::Row& row = window->GetControllersPanel().GetRow(2);
    EXPECT_FALSE(row.parameter->IsEnabled());  // an unused slot is greyed out
    Click(*row.enable);
    EXPECT_TRUE(row.parameter->IsEnabled());
    Wheel(*row.parameter, 1);                 // "None" -> "Gain"
    Type(*row.value, "40");                   // percent
    EXPECT_FALSE(row.maxValue->IsEnabled());  // the end value belongs to "Interval"
    Wheel(*row.rangeMode, 2);                 // "Up only" -> "Interval"
    EXPECT_TRUE(row.maxValue->IsEnabled());
    EXPECT_FALSE(row.depth->IsEnabled());
    system->InjectMouseWheel(*window, Inside(*row.rangeMode), 120);  // back to "Down only"
    system->ProcessPendingEvents();
    EXPECT_FALSE(row.maxValue->IsEnabled());
    Wheel(*row.channel, 2);  // "Any" -> "2"
    Picture("midi_controllers");

    const KivControllerSlot slot = Controllers().GetControllerSlot(2);
    EXPECT_TRUE(slot.enabled);
    EXPECT_EQ(slot.parameterName, KivString("Gain"));
    EXPECT_EQ(slot.parameter, 0);
    EXPECT_DOUBLE_EQ(slot.value, 0.4);
    EXPECT_EQ(slot.rangeMode, kKivRangeDownOnly);
    EXPECT_EQ(slot.channel, 2u);
    EXPECT_EQ(slot.controller, 1u);
    EXPECT_FALSE(Controllers().GetControllerSlot(1).enabled);

    // Modulation wheel half way on MIDI channel 2 (index 1): down from 0.4 by half of
    // min(depth 1, 0.4), to 0.2. The same message on channel 1 does nothing.
    Controllers().OnController(0, 0.5, 1);
    EXPECT_DOUBLE_EQ(unity.plugin.GetParameter(0), 1.0);
    Controllers().OnController(1, 0.5, 1);
    EXPECT_NEAR(unity.plugin.GetParameter(0), 0.2, 1e-12);

    Click(*row.invert);
    EXPECT_TRUE(Controllers().GetControllerSlot(2).invert);
    Click(*row.enable);
    EXPECT_FALSE(Controllers().GetControllerSlot(2).enabled);
    EXPECT_FALSE(row.invert->IsEnabled());
}

TEST_F(MIDIWindowTest, LearnTakesTheNextControllerAndTheNotesPageTheNextNote) {
    KivMIDIControllersPanel::Row& row = window->GetControllersPanel().GetRow(5);
    Click(*row.enable);
    Click(*row.learn);
    EXPECT_TRUE(Controllers().IsControllerLearning(5));
    Controllers().OnController(2, 0.25, 7);  // volume on MIDI channel 3
    EXPECT_FALSE(Controllers().IsControllerLearning(5));
    system->AdvanceClock(KivMIDISlotPanel::kLearnPoll);
    system->ProcessPendingEvents();
    EXPECT_FALSE(row.learn->IsChecked());
    EXPECT_EQ(row.channel->GetItem(row.channel->GetSelected()), KivString("3"));
    EXPECT_EQ(row.controller->GetItem(row.controller->GetSelected()), KivString("7"));
    EXPECT_EQ(Controllers().GetControllerSlot(5).controller, 7u);
    // Pitch bend learns as the controller after aftertouch, once bends are all that comes.
    Click(*row.learn);
    for (int32_t i = 0; i < KivMIDIControllers::kUnintendedSourceRepeats; ++i) Controllers().OnPitchBend(0, 0.5);
    system->AdvanceClock(KivMIDISlotPanel::kLearnPoll);
    system->ProcessPendingEvents();
    EXPECT_EQ(row.controller->GetItem(row.controller->GetSelected()), KivString("Pitch-bend"));

    Click(window->GetPageButton(KivMIDIWindow::Page::kNotes));
    EXPECT_EQ(window->GetPage(), KivMIDIWindow::Page::kNotes);
    EXPECT_FALSE(window->GetControllersPanel().IsVisible());
    KivMIDINotesPanel::Row& notes = window->GetNotesPanel().GetRow(0);
    Click(*notes.enable);
    Wheel(*notes.parameter, 1);
    Wheel(*notes.mode, 2);  // "On/Off"
    Click(*notes.learn);
    Controllers().OnNote(0, 64, true, 0.0);
    system->AdvanceClock(KivMIDISlotPanel::kLearnPoll);
    system->ProcessPendingEvents();
    Picture("midi_notes");
    EXPECT_EQ(notes.note->GetItem(notes.note->GetSelected()), KivString("E5"));
    const KivNoteControllerSlot slot = Controllers().GetNoteControllerSlot(0);
    EXPECT_TRUE(slot.enabled);
    EXPECT_EQ(slot.note, 64u);
    EXPECT_EQ(slot.mode, kKivNoteOnOff);
    // On/Off from 0 % to 100 %: key E4 up sets the minimum, down the maximum.
    Controllers().OnNote(0, 64, false, 0.0);
    EXPECT_DOUBLE_EQ(unity.plugin.GetParameter(0), 0.0);
    Controllers().OnNote(0, 64, true, 0.0);
    EXPECT_DOUBLE_EQ(unity.plugin.GetParameter(0), 1.0);
}

TEST_F(MIDIWindowTest, RunEndsWithCloseOrEscape) {
    window.reset();
    int runs = 0;
    KivMIDIWindow::Run(nullptr, unity.plugin, KivMIDIWindow::Page::kNotes, [&](KivMIDIWindow& shown) {
        ++runs;
        EXPECT_EQ(shown.GetPage(), KivMIDIWindow::Page::kNotes);
        const KivRect close = shown.GetCloseButton().GetWindowRect();
        system->InjectMouseDown(shown, KivPoint{close.left + 4, close.top + 4}, kLeft);
        system->InjectMouseUp(shown, KivPoint{close.left + 4, close.top + 4}, kLeft);
    });
    KivMIDIWindow::Run(nullptr, unity.plugin, KivMIDIWindow::Page::kControllers, [&](KivMIDIWindow& shown) {
        ++runs;
        system->InjectKeyDown(shown, KivKeyCode::kEscape);
    });
    EXPECT_EQ(runs, 2);
}

}  // namespace
