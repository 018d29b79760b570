// The "ABCD morphing" window on the offscreen window system: its picture, the handle's jump
// and drag rules, clamping, cursors, and the whole morph run with OK, cancel and the
// question about slot E.
#include <gtest/gtest.h>

#include <memory>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_message_window.h"
#include "gui/controls/kiv_static_multi_line.h"
#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "gui/style/kiv_house_style.h"
#include "presets/editor/kiv_editor_dialogs.h"
#include "presets/editor/kiv_morph_pad.h"
#include "presets/editor/kiv_morph_window.h"
#include "presets/slots/kiv_preset_morph.h"
#include "presets/slots/kiv_preset_slot_commands.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"
#include "tests/presets/editor/kiv_png_reference.h"

namespace {

const std::filesystem::path kReferences = std::filesystem::path(KIV_SOURCE_DIR) / "tests/presets/editor/reference";
constexpr auto kLeft = KivMouseButton::kLeft;

// Slots A..D hold gains 0.1, 0.3, 0.5 and 0.9; `live` is live at the end.
class MorphWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        system = new KivWindowSystemOffscreen();
        windows = std::make_unique<KivWindows>(system);
    }
    void MakeSlots(int32_t live) {
        const double gains[4] = {0.1, 0.3, 0.5, 0.9};
        for (int32_t slot = 0; slot < 4; ++slot) {
            KivPresetSlotCommands::Select(unity.plugin, slot);
            unity.plugin.SetParameter(0, gains[slot], true);
        }
        KivPresetSlotCommands::Select(unity.plugin, live);
    }
    double Gain() { return unity.plugin.GetParameter(0); }
    void Drag(KivWindow& window, KivPoint from, KivPoint to) {
        system->InjectMouseDown(window, from, kLeft);
        system->InjectMouseMove(window, to);
        system->InjectMouseUp(window, to, kLeft);
    }

    UnityGainPlugin unity;
    KivWindowSystemOffscreen* system = nullptr;
    std::unique_ptr<KivWindows> windows;
};

// A blend by hand: `amount` of 255 of `top` over `ground`.
int Blend(int ground, int top, int amount) { return ground + (top - ground) * amount / 255; }

TEST_F(MorphWindowTest, PadPictureHasItsGeometryAndColours) {
    const KivBitmap picture = KivMorphWindow::Picture(0.25, 0.75);
    ASSERT_EQ(picture.Width(), 300);
    ASSERT_EQ(picture.Height(), 300);
    EXPECT_LT(KivPngReference::CountDiffering(picture, kReferences / "morph_pad.png"), 300 * 300 / 1000);

    const KivColor ground = KivHouseStyle::DefaultColor(KivStyleColor::kEditorBackground);
    const KivColor text = KivHouseStyle::DefaultColor(KivStyleColor::kText);
    const KivColor highlight = KivHouseStyle::DefaultColor(KivStyleColor::kHighlight);
    const KivColor cell = KivHouseStyle::DefaultColor(KivStyleColor::kTitleBackground);
    // Away from every line: the pad's ground.
    EXPECT_EQ(picture.At(200, 60), ground);
    // The centre lines (row and column 149 of 0..299) and a diagonal: text dimmed to alpha
    // (255 * 5 + 5) / 16 = 80.
    for (const KivPoint at : {KivPoint{40, 149}, KivPoint{149, 40}, KivPoint{60, 60}}) {
        EXPECT_NEAR(picture.At(at.x, at.y).r, Blend(ground.r, text.r, 80), 6) << at.x << "," << at.y;
        EXPECT_NEAR(picture.At(at.x, at.y).g, Blend(ground.g, text.g, 80), 6) << at.x << "," << at.y;
    }
    EXPECT_EQ(picture.At(40, 150), ground);
    // The centre dot covers pixels beside the lines (the lines' anti-aliasing adds to it).
    EXPECT_GE(picture.At(151, 150).r, Blend(ground.r, text.r, 80) - 2);
    // Letter cells of 16 x 16 in the corners, here where the letters leave them bare.
    EXPECT_EQ(picture.At(0, 15), cell);
    EXPECT_EQ(picture.At(299, 284), cell);
    EXPECT_EQ(picture.At(299, 283), ground);
    // The handle: travel 284 pixels from 8 on, so x 0.25 and y 0.75 put its centre at
    // (8 + 71, 8 + 213); a solid dot there, the translucent fill (alpha 60) 5 pixels away.
    EXPECT_EQ(picture.At(79, 221), highlight);
    EXPECT_NEAR(picture.At(84, 221).b, Blend(ground.b, highlight.b, 60), 2);
    EXPECT_EQ(picture.At(79, 232), ground);
}

TEST_F(MorphWindowTest, FarPressJumpsNearPressGrabsAndDragKeepsTheOffsetWithinTheEdges) {
    MakeSlots(4);  // E live: the handle starts in the middle, centre (8 + 142, 8 + 142)
    KivPresetMorph morph(unity.plugin);
    KivMorphWindow window(&morph);
    KivMorphPad& pad = window.GetPad();
    window.Show();
    system->ProcessPendingEvents();
    EXPECT_EQ(pad.HandleCentre(), (KivPoint{150, 150}));

    // 8 pixels off in both directions still grabs: no jump, the offset is kept.
    system->InjectMouseDown(window, KivPoint{158, 142}, kLeft);
    system->ProcessPendingEvents();
    EXPECT_EQ(pad.GetX(), 0.5);
    EXPECT_EQ(pad.GetGrabOffset(), (KivPoint{8, -8}));
    EXPECT_EQ(system->GetCursorShape(), KivMorphPad::kHandleCursor);
    // Centre to (8 + 213, 8 + 71): x 0.75, y 0.25.
    system->InjectMouseMove(window, KivPoint{221 + 8, 79 - 8});
    system->ProcessPendingEvents();
    EXPECT_EQ(pad.GetX(), 0.75);
    EXPECT_EQ(pad.GetY(), 0.25);
    // (1 - y) ((1 - x) A + x B) + y ((1 - x) C + x D) = 0.75 * 0.25 + 0.25 * 0.8 = 0.3875
    EXPECT_NEAR(Gain(), 0.3875, 1e-12);
    // Dragged far beyond the pad: held at the corner C.
    system->InjectMouseMove(window, KivPoint{-400, 900});
    system->ProcessPendingEvents();
    EXPECT_EQ(pad.GetX(), 0.0);
    EXPECT_EQ(pad.GetY(), 1.0);
    EXPECT_EQ(pad.HandleCentre(), (KivPoint{8, 292}));
    EXPECT_NEAR(Gain(), 0.5, 1e-12);
    system->InjectMouseUp(window, KivPoint{-400, 900}, kLeft);
    system->ProcessPendingEvents();
    EXPECT_FALSE(pad.IsDragging());

    // 9 pixels off is too far: the handle jumps under the pointer.
    system->InjectMouseDown(window, KivPoint{17, 292}, kLeft);
    system->ProcessPendingEvents();
    EXPECT_NEAR(pad.GetX(), 9.0 / 284, 1e-12);
    EXPECT_EQ(pad.GetGrabOffset(), (KivPoint{0, 0}));
    system->InjectMouseUp(window, KivPoint{17, 292}, kLeft);
    // Away from the handle the cursor aims; the right button moves nothing.
    system->InjectMouseMove(window, KivPoint{200, 40});
    system->InjectMouseDown(window, KivPoint{200, 40}, KivMouseButton::kRight);
    system->ProcessPendingEvents();
    EXPECT_EQ(system->GetCursorShape(), KivMorphPad::kAimCursor);
    EXPECT_NEAR(pad.GetX(), 9.0 / 284, 1e-12);
    window.Close();
}

TEST_F(MorphWindowTest, CancelAfterManyMovesRestoresTheSettingsAndOKKeepsTheMorph) {
    MakeSlots(4);
    unity.plugin.SetParameter(0, 0.65, true);
    const bool ok = KivMorphWindow::Run(nullptr, unity.plugin, *std::make_unique<KivDefaultPresetEAnswer>(),
                                        [&](KivMorphWindow& window) {
                                            EXPECT_EQ(system->GetTitle(window), KivString("ABCD morphing"));
                                            system->InjectMouseDown(window, KivPoint{150, 150}, kLeft);
                                            for (int32_t i = 0; i < 40; ++i)
                                                system->InjectMouseMove(window, KivPoint{7 * i, 300 - 5 * i});
                                            system->InjectMouseUp(window, KivPoint{280, 100}, kLeft);
                                            system->InjectKeyDown(window, KivKeyCode::kEscape);
                                        });
    EXPECT_FALSE(ok);
    EXPECT_DOUBLE_EQ(Gain(), 0.65);

    const bool kept = KivMorphWindow::Run(nullptr, unity.plugin, *std::make_unique<KivDefaultPresetEAnswer>(),
                                          [&](KivMorphWindow& window) {
                                              Drag(window, KivPoint{150, 150}, KivPoint{299, 299});
                                              system->InjectKeyDown(window, KivKeyCode::kEnter);
                                          });
    EXPECT_TRUE(kept);
    EXPECT_NEAR(Gain(), 0.9, 1e-12);  // corner D
    EXPECT_EQ(unity.plugin.GetPresetSlots().GetCurrent(), 4);

    // Closing the window is a cancel too. The pad opens centred over the editor.
    KivWindow editor;
    editor.SetBounds(KivRect{100, 100, 100 + 599, 100 + 399});
    editor.Show();
    const bool closed = KivMorphWindow::Run(
        &editor, unity.plugin, *std::make_unique<KivDefaultPresetEAnswer>(), [&](KivMorphWindow& window) {
            EXPECT_EQ(system->GetWindowBounds(window), (KivRect{250, 130, 549, 469}));
            Drag(window, KivPoint{150, 150}, KivPoint{0, 0});
            system->InjectCloseRequest(window);
        });
    EXPECT_FALSE(closed);
    EXPECT_NEAR(Gain(), 0.9, 1e-12);
}

// The buttons under the pad: Cancel at the strip's right edge, OK beside it, both clear of the
// pad's square; a click on Cancel undoes the morph, a click on OK keeps it.
TEST_F(MorphWindowTest, CancelButtonUndoesAndOKButtonKeeps) {
    MakeSlots(4);
    unity.plugin.SetParameter(0, 0.65, true);
    const auto click = [&](KivWindow& window, KivButton& button) {
        const KivRect bounds = button.GetBounds();
        const KivPoint centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
        system->InjectMouseDown(window, centre, kLeft);
        system->InjectMouseUp(window, centre, kLeft);
    };
    const bool cancelled = KivMorphWindow::Run(nullptr, unity.plugin, *std::make_unique<KivDefaultPresetEAnswer>(),
                                               [&](KivMorphWindow& window) {
                                                   // 300 x 300 pad, then a strip of 8 + 24 + 8.
                                                   EXPECT_EQ(window.GetClientRect(), (KivRect{0, 0, 299, 339}));
                                                   EXPECT_EQ(window.GetPad().GetBounds(), (KivRect{0, 0, 299, 299}));
                                                   EXPECT_EQ(window.GetCancelButton().GetBounds(), (KivRect{212, 308, 291, 331}));
                                                   EXPECT_EQ(window.GetOKButton().GetBounds(), (KivRect{126, 308, 205, 331}));
                                                   EXPECT_EQ(window.GetOKButton().GetText(), KivString("OK"));
                                                   EXPECT_EQ(window.GetCancelButton().GetText(), KivString("Cancel"));
                                                   Drag(window, KivPoint{150, 150}, KivPoint{0, 0});
                                                   system->ProcessPendingEvents();
                                                   EXPECT_NEAR(Gain(), 0.1, 1e-12);  // corner A while the pad is open
                                                   click(window, window.GetCancelButton());
                                               });
    EXPECT_FALSE(cancelled);
    EXPECT_DOUBLE_EQ(Gain(), 0.65);
    EXPECT_EQ(unity.plugin.GetPresetSlots().GetCurrent(), 4);

    const bool kept = KivMorphWindow::Run(nullptr, unity.plugin, *std::make_unique<KivDefaultPresetEAnswer>(),
                                          [&](KivMorphWindow& window) {
                                              Drag(window, KivPoint{150, 150}, KivPoint{299, 0});
                                              click(window, window.GetOKButton());
                                          });
    EXPECT_TRUE(kept);
    EXPECT_NEAR(Gain(), 0.3, 1e-12);  // corner B
}

TEST_F(MorphWindowTest, SlotBLiveAsksAboutEAndTheAnswerDecidesWhichSlotHoldsTheMorph) {
    MakeSlots(1);
    auto morphToA = [&](KivMorphWindow& window) {
        Drag(window, KivPoint{292, 8}, KivPoint{0, 0});  // grab the handle on B, drop it on A
        system->InjectKeyDown(window, KivKeyCode::kEnter);
    };
    KivPresetEQuestionWindow question(nullptr);
    std::string asked;
    KivEditorDialogs::SetShowHook([&](KivWindow& window) {
        auto& message = dynamic_cast<KivMessageWindow&>(window);
        asked = system->GetTitle(message).ToUTF8() + ": " + message.GetMessage().GetText().ToUTF8();
        const KivRect no = message.GetButton(KivModalValue::kNo)->GetBounds();
        system->InjectMouseDown(message, KivPoint{no.left + 5, no.top + 5}, kLeft);
        system->InjectMouseUp(message, KivPoint{no.left + 5, no.top + 5}, kLeft);
    });
    ASSERT_TRUE(KivMorphWindow::Run(nullptr, unity.plugin, question, morphToA));
    EXPECT_EQ(asked.find("ABCD morphing: Preset B is currently selected"), 0u);
    EXPECT_NE(asked.find("one of them.\n\nWould you like to select preset E"), std::string::npos);
    EXPECT_EQ(unity.plugin.GetPresetSlots().GetCurrent(), 1);  // no: B takes the morph
    EXPECT_NEAR(Gain(), 0.1, 1e-12);

    KivPresetSlotCommands::Select(unity.plugin, 2);
    KivPresetSlotCommands::Select(unity.plugin, 1);
    EXPECT_NEAR(Gain(), 0.1, 1e-12);
    unity.plugin.SetParameter(0, 0.3, true);
    KivEditorDialogs::SetShowHook([&](KivWindow& window) {
        system->InjectKeyDown(window, KivKeyCode::kEnter);  // the default button: yes
    });
    ASSERT_TRUE(KivMorphWindow::Run(nullptr, unity.plugin, question, morphToA));
    KivEditorDialogs::SetShowHook(nullptr);
    KivPresetSlotItems& slots = unity.plugin.GetPresetSlots();
    EXPECT_EQ(slots.GetCurrent(), 4);
    EXPECT_EQ(slots.GetSelected(), 4);
    EXPECT_NEAR(Gain(), 0.1, 1e-12);  // E is live with the morph
    KivPresetSlotCommands::Select(unity.plugin, 1);
    EXPECT_NEAR(Gain(), 0.3, 1e-12);  // B kept what it held before the morph
}

TEST_F(MorphWindowTest, MessageMarkupBecomesLinesAndEscapeAnswersNo) {
    EXPECT_EQ(KivEditorDialogs::PlainText(KivString("replace it.<p><p><b>Would you like?")),
              KivString("replace it.\n\nWould you like?"));
    KivEditorDialogs::SetShowHook([&](KivWindow& window) {
        system->ProcessPendingEvents();
        KivPngReference::SaveIfAsked(*system->GetScreen(window), "morph_question");
        system->InjectKeyDown(window, KivKeyCode::kEscape);
    });
    EXPECT_FALSE(KivPresetEQuestionWindow(nullptr).AskToSelectPresetE(KivPresetMorphSession::QuestionFor(0)));
    KivEditorDialogs::SetShowHook(nullptr);
}

}  // namespace
