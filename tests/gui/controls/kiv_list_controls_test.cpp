// Scroll bars, list boxes and trees driven by injected mouse and keyboard input in an
// offscreen window: positions worked out from the bar's geometry, selection, keys and
// keeping the selection in view.
#include <memory>

#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_list_box.h"
#include "gui/controls/kiv_scroll_bar.h"
#include "gui/controls/kiv_tree_control.h"
#include "gui/loader/kiv_owned_value.h"
#include "kiv_offscreen_fixture.h"

namespace {

using Int = KivValueNumber<int, int, 1, 0>;
using Double = KivValueNumber<double, double, 0, 0>;

struct Recorder : KivEventTarget {
    void Index(KivOnItemParams<int32_t>& params) { indices.push_back(params.item); }
    void Item(KivOnItemParams<KivTreeItem*>& params) { items.push_back(params.item); }
    std::vector<int32_t> indices;
    std::vector<KivTreeItem*> items;
};

class KivListControlsTest : public KivOffscreenTest {
protected:
    void SetUp() override {
        KivOffscreenTest::SetUp();
        window = std::make_unique<KivWindow>();
        window->SetBounds(KivRect{0, 0, 399, 299});
        window->Show();
        Run();
    }
    void TearDown() override {
        window.reset();
        KivOffscreenTest::TearDown();
    }
    template <typename T>
    T& Place(const KivRect& bounds) {
        auto* control = new T();
        window->AddChild(control);
        control->SetBounds(bounds);
        return *control;
    }
    void Run() { system->ProcessPendingEvents(); }
    void Press(uint32_t key) {
        Key(*window, key);
        Run();
    }
    // The middle of `row` of a row view, in window coordinates.
    KivPoint RowPoint(const KivRowView& view, int32_t row, int32_t x = 60) {
        const KivRect rect = view.RowRect(row).Offset(view.GetBounds().left, view.GetBounds().top);
        return KivPoint{rect.left + x, (rect.top + rect.bottom) / 2};
    }

    std::unique_ptr<KivWindow> window;
};

TEST_F(KivListControlsTest, ScrollBarArrowsPageThumbAndWheelStayInsideTheTravel) {
    // 12 x 200 at (10, 10): arrows of 14, a track of 172, a thumb of 172 * 20 / 100 = 34
    // travelling 138 pixels over the positions 0..80.
    auto& bar = Place<KivScrollBar>(KivRect{10, 10, 21, 209});
    bar.SetRange(100, 20);
    Recorder recorder;
    bar.OnScroll.AddHandler(&recorder, &Recorder::Index);
    EXPECT_TRUE(bar.IsVertical());
    EXPECT_EQ(bar.GetMaximum(), 80);
    EXPECT_EQ(bar.ThumbRect(), (KivRect{0, 14, 11, 47}));

    Click(*window, KivPoint{15, 205});  // the lower arrow: one line
    Run();
    EXPECT_EQ(bar.GetScrollPosition(), 1);
    Click(*window, KivPoint{15, 10});  // the upper arrow
    Click(*window, KivPoint{15, 10});  // already at the start
    Run();
    EXPECT_EQ(bar.GetScrollPosition(), 0);
    Click(*window, KivPoint{15, 150});  // the track below the thumb: a page less one line
    Run();
    EXPECT_EQ(bar.GetScrollPosition(), 19);
    bar.SetScrollPosition(20);
    EXPECT_EQ(bar.ThumbRect(), (KivRect{0, 48, 11, 81}));  // 14 + 138 * 20 / 80

    // Grabbed 2 pixels into the thumb and moved to where the thumb starts half-way (14 + 69).
    Drag(*window, KivPoint{15, 10 + 50}, KivPoint{15, 10 + 2 + 83});
    Run();
    EXPECT_EQ(bar.GetScrollPosition(), 40);
    Drag(*window, KivPoint{15, 10 + 2 + 83}, KivPoint{15, 1000});
    Run();
    EXPECT_EQ(bar.GetScrollPosition(), 80);
    system->InjectMouseWheel(*window, KivPoint{15, 100}, -120);  // already at the end
    Run();
    EXPECT_EQ(bar.GetScrollPosition(), 80);
    system->InjectMouseWheel(*window, KivPoint{15, 100}, 240);  // two notches of three lines back
    Run();
    EXPECT_EQ(bar.GetScrollPosition(), 74);
    EXPECT_EQ(recorder.indices, (std::vector<int32_t>{1, 0, 19, 20, 40, 80, 74}));

    // A shorter range pulls the position in; a page as large as the range leaves no travel.
    bar.SetRange(50, 20);
    EXPECT_EQ(bar.GetScrollPosition(), 30);
    bar.SetRange(10, 20);
    EXPECT_EQ(bar.GetScrollPosition(), 0);
    EXPECT_FALSE(bar.CanScroll());

    auto& horizontal = Place<KivScrollBar>(KivRect{40, 250, 239, 261});
    EXPECT_FALSE(horizontal.IsVertical());
    auto value = std::make_unique<KivOwnedValue<Double>>();
    value->SetRange(0, 1);
    Double* raw = value.get();
    horizontal.BindValue(std::move(value));
    horizontal.SetRange(200, 50);
    Click(*window, KivPoint{235, 255});  // the right arrow
    Run();
    EXPECT_EQ(horizontal.GetScrollPosition(), 1);
    EXPECT_NEAR(raw->Get01(), 1.0 / 150.0, 1e-12);
}

TEST_F(KivListControlsTest, ListSelectionFollowsClicksAndKeysAndStaysInView) {
    // Five whole rows of 20 fit between the insets of 3.
    auto& list = Place<KivListBox>(KivRect{20, 20, 219, 125});
    std::vector<KivString> items;
    for (int i = 1; i <= 12; ++i) items.push_back(KivString::FromUTF8("Preset " + std::to_string(i)));
    list.SetItems(items);
    Recorder selected, activated;
    list.OnSelect.AddHandler(&selected, &Recorder::Index);
    list.OnDoubleClick.AddHandler(&activated, &Recorder::Index);
    ASSERT_EQ(list.GetVisibleRowCount(), 5);
    EXPECT_TRUE(list.GetScrollBar().IsVisible());
    EXPECT_EQ(list.GetSelected(), -1);

    Click(*window, RowPoint(list, 2));
    Run();
    EXPECT_EQ(list.GetSelected(), 2);
    EXPECT_EQ(window->GetFocus(), &list);
    for (int i = 0; i < 3; ++i) Press(KivKeyCode::kDown);
    EXPECT_EQ(list.GetSelected(), 5);
    EXPECT_EQ(list.GetTopRow(), 1);  // row 5 is the last of five in view
    Press(KivKeyCode::kEnd);
    EXPECT_EQ(list.GetSelected(), 11);
    EXPECT_EQ(list.GetTopRow(), 7);
    Press(KivKeyCode::kPageUp);  // a page is the rows in view less one
    EXPECT_EQ(list.GetSelected(), 7);
    EXPECT_EQ(list.GetTopRow(), 7);
    Press(KivKeyCode::kHome);
    EXPECT_EQ(list.GetTopRow(), 0);
    Press(KivKeyCode::kPageDown);
    Press(KivKeyCode::kPageDown);
    EXPECT_EQ(list.GetSelected(), 8);
    EXPECT_EQ(list.GetTopRow(), 4);
    Press(KivKeyCode::kUp);
    EXPECT_EQ(list.GetSelected(), 7);
    EXPECT_EQ(list.GetItem(list.GetSelected()), KivString("Preset 8"));

    // The wheel scrolls without selecting; a double-click selects and activates.
    system->InjectMouseWheel(*window, RowPoint(list, 4), -120);
    Run();
    EXPECT_EQ(list.GetTopRow(), 7);
    EXPECT_EQ(list.GetSelected(), 7);
    Click(*window, RowPoint(list, 9));
    Click(*window, RowPoint(list, 9), true);
    Run();
    EXPECT_EQ(list.GetSelected(), 9);
    Press(KivKeyCode::kEnter);
    EXPECT_EQ(activated.indices, (std::vector<int32_t>{9, 9}));
    EXPECT_EQ(selected.indices, (std::vector<int32_t>{2, 3, 4, 5, 11, 7, 0, 4, 8, 7, 9}));

    list.RemoveItem(0);  // the selection stays on its item
    EXPECT_EQ(list.GetItem(list.GetSelected()), KivString("Preset 10"));
    list.SetItems({KivString("Only")}, 0);
    EXPECT_FALSE(list.GetScrollBar().IsVisible());
    EXPECT_EQ(list.RowAt(KivPoint{40, 3 + 20 + 5}), -1);  // below the last item
}

TEST_F(KivListControlsTest, ListItemsFromABoundValueSelectItsSteps) {
    auto& list = Place<KivListBox>(KivRect{20, 20, 219, 125});
    auto value = std::make_unique<KivOwnedValue<Int>>();
    value->SetRange(0, 3);
    value->SetStep(2);
    Int* raw = value.get();
    list.BindValue(std::move(value));
    EXPECT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.GetSelected(), 2);
    EXPECT_EQ(list.GetItem(3), raw->GetStepText(3));
    Click(*window, RowPoint(list, 0));
    Run();
    EXPECT_EQ(raw->GetValue(), 0);
}

TEST_F(KivListControlsTest, TreeExpandsCollapsesAndSelectsByMouseAndKeys) {
    auto& tree = Place<KivTreeControl>(KivRect{20, 20, 219, 245});
    for (const char* path : {"Factory/Bus glue", "Factory/Vocals", "Factory/Drums/Room", "User"}) {
        std::vector<KivString> names;
        for (const char* name = path; *name != 0;) {
            const char* end = name;
            while (*end != 0 && *end != '/') ++end;
            names.push_back(KivString::FromUTF8(std::string_view(name, static_cast<size_t>(end - name))));
            name = *end == '/' ? end + 1 : end;
        }
        tree.AddPath(names);
    }
    Recorder recorder;
    tree.OnSelect.AddHandler(&recorder, &Recorder::Item);
    
    ASSERT_EQ(tree.GetRowCount(), 2);  // Factory and User, collapsed

    Click(*window, RowPoint(tree, 0, 2 + 6));  // the triangle opens without selecting
    Run();
    ASSERT_EQ(tree.GetRowCount(), 5);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    Click(*window, RowPoint(tree, 2));
    Run();
    EXPECT_EQ(tree.GetSelectedPath(), (std::vector<KivString>{KivString("Factory"), KivString("Vocals")}));
    Press(KivKeyCode::kLeft);  // no children: to the parent
    EXPECT_EQ(tree.GetSelectedItem()->GetText(), KivString("Factory"));
    Press(KivKeyCode::kLeft);  // collapses
    EXPECT_EQ(tree.GetRowCount(), 2);
    Press(KivKeyCode::kRight);  // expands
    Press(KivKeyCode::kRight);  // to the first child
    EXPECT_EQ(tree.GetSelectedItem()->GetText(), KivString("Bus glue"));
    Press(KivKeyCode::kDown);
    Press(KivKeyCode::kDown);
    Press(KivKeyCode::kRight);
    Press(KivKeyCode::kRight);
    EXPECT_EQ(tree.GetSelectedPath(),
              (std::vector<KivString>{KivString("Factory"), KivString("Drums"), KivString("Room")}));
    EXPECT_EQ(tree.GetSelectedItem()->GetDepth(), 2);

    // A double-click on Factory collapses it; the selection inside moves up to it.
    Click(*window, RowPoint(tree, 0));
    Click(*window, RowPoint(tree, 0), true);
    Run();
    EXPECT_FALSE(tree.FindPath({KivString("Factory")})->IsExpanded());
    EXPECT_EQ(tree.GetSelectedItem(), tree.FindPath({KivString("Factory")}));
    EXPECT_EQ(tree.GetRowCount(), 2);
    const std::vector<std::string> expected{"Vocals", "Factory", "Bus glue", "Vocals", "Drums", "Room", "Factory"};
    std::vector<std::string> seen;
    for (KivTreeItem* item : recorder.items) seen.push_back(item == nullptr ? "-" : item->GetText().ToUTF8());
    EXPECT_EQ(seen, expected);
}

TEST_F(KivListControlsTest, TreeItemsAreAddedRenamedAndRemovedThroughItsInterface) {
    auto& tree = Place<KivTreeControl>(KivRect{20, 20, 219, 85});  // three rows in view
    KivTreeItem* user = tree.AddItem(nullptr, KivString("User"));
    KivTreeItem* mine = tree.AddItem(user, KivString("Mine"));
    tree.AddItem(user, KivString("Theirs"));
    for (int i = 0; i < 6; ++i) tree.AddItem(nullptr, KivString::FromUTF8("Folder " + std::to_string(i)));
    tree.SelectItem(mine);  // opens User
    EXPECT_TRUE(user->IsExpanded());
    EXPECT_EQ(tree.GetSelectedRow(), 1);
    tree.RenameItem(mine, KivString("Mastering"));
    EXPECT_EQ(tree.GetSelectedPath(), (std::vector<KivString>{KivString("User"), KivString("Mastering")}));
    EXPECT_EQ(tree.FindPath({KivString("user"), KivString("theirs")})->GetText(), KivString("Theirs"));
    EXPECT_EQ(tree.AddPath({KivString("User"), KivString("Theirs")}), tree.FindPath({KivString("User"), KivString("Theirs")}));

    tree.RemoveItem(mine);  // the next sibling takes the selection
    EXPECT_EQ(tree.GetSelectedPath(), (std::vector<KivString>{KivString("User"), KivString("Theirs")}));
    tree.SelectItem(tree.FindPath({KivString("Folder 5")}));
    EXPECT_EQ(tree.GetTopRow(), tree.GetRowCount() - 3);  // scrolled so that the last row shows
    tree.RemoveItem(tree.GetSelectedItem());  // the last row: the one before takes it
    EXPECT_EQ(tree.GetSelectedItem()->GetText(), KivString("Folder 4"));
    tree.RemoveItem(user);
    EXPECT_EQ(tree.GetRowCount(), 5);
    tree.Clear();
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_TRUE(tree.GetSelectedPath().empty());
}

}  // namespace
