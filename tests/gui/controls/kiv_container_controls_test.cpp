// Tab sets, splitters and panels arranging their children, driven through the offscreen
// window system; and a description holding every element of the loader's tables loads and
// paints without a fault.
#include <memory>
#include <string>

#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_splitter.h"
#include "gui/controls/kiv_tab_set.h"
#include "gui/controls/kiv_window_picture.h"
#include "gui/layout/kiv_layout_client.h"
#include "gui/loader/kiv_owned_value.h"
#include "gui/loader/kiv_xml_loader.h"
#include "kiv_offscreen_fixture.h"

namespace {

using Int = KivValueNumber<int, int, 1, 0>;

std::unique_ptr<KivXMLItem> Parse(const std::string& text) {
    KivMemoryStream stream;
    stream.Write(text.data(), static_cast<int32_t>(text.size()));
    stream.Seek(0, KivStream::kFromStart);
    auto item = std::make_unique<KivXMLItem>();
    item->Load(stream);
    return item;
}

struct Recorder : KivEventTarget {
    void Index(KivOnItemParams<int32_t>& params) { indices.push_back(params.item); }
    std::vector<int32_t> indices;
};

class KivContainerControlsTest : public KivOffscreenTest {
protected:
    void SetUp() override {
        KivOffscreenTest::SetUp();
        window = std::make_unique<KivWindow>();
    }
    void TearDown() override {
        window.reset();
        KivOffscreenTest::TearDown();
    }
    // Loads `description` (the window's element) into a window of 400 x 300 and shows it.
    void Load(const std::string& description) {
        KivControl::KivXmlLoader loader;
        loader.LoadWindow(*Parse(description), *window);
        window->SetBounds(KivRect{0, 0, 399, 299});
        KivWindowPicture::ArrangeTree(*window);
        window->Show();
        Run();
    }
    void Run() { system->ProcessPendingEvents(); }
    void Press(uint32_t key, uint8_t state = 0) {
        system->SetInputState(state);
        system->InjectKeyDown(*window, key);
        Run();
        system->SetInputState(0);
    }
    template <typename T>
    T& Child(int32_t index) {
        return dynamic_cast<T&>(*window->GetChild(index));
    }

    std::unique_ptr<KivWindow> window;
};

TEST_F(KivContainerControlsTest, TabsShowOnePageAndSwitchByClickKeysAndValue) {
    Load(R"(<window><tabset posx="10" posy="10" sizex="380" sizey="200">
              <panel caption="Detector"><button caption="Inside" posx="4" posy="4" sizex="80" sizey="24" tabstop="1"/></panel>
              <panel caption="Shape"/>
              <panel caption="Output"/>
            </tabset></window>)");
    auto& tabs = Child<KivTabSet>(0);
    Recorder recorder;
    tabs.OnSelect.AddHandler(&recorder, &Recorder::Index);
    ASSERT_EQ(tabs.GetPageCount(), 3);
    EXPECT_EQ(tabs.GetTabCaption(1), KivString("Shape"));
    EXPECT_TRUE(tabs.GetPage(0)->IsVisible());
    EXPECT_FALSE(tabs.GetPage(1)->IsVisible());
    // Every page fills the space below the tabs, inside the padding.
    EXPECT_EQ(tabs.GetPage(2)->GetBounds(), (KivRect{8, KivTabSet::kTabHeight + 8, 379 - 8, 199 - 8}));
    EXPECT_LT(tabs.TabRect(0).right, tabs.TabRect(1).left);

    const KivRect shape = tabs.TabRect(1).Offset(10, 10);
    Click(*window, KivPoint{(shape.left + shape.right) / 2, (shape.top + shape.bottom) / 2});
    Run();
    EXPECT_EQ(tabs.GetSelected(), 1);
    EXPECT_FALSE(tabs.GetPage(0)->IsVisible());
    EXPECT_TRUE(tabs.GetPage(1)->IsVisible());
    EXPECT_EQ(window->GetFocus(), &tabs);
    Press(KivKeyCode::kRight);
    Press(KivKeyCode::kRight);  // already the last
    Press(KivKeyCode::kHome);
    EXPECT_EQ(tabs.GetSelected(), 0);
    // From a control inside a page Ctrl+Tab still turns the pages; plain arrows do not.
    window->SetFocus(tabs.GetPage(0)->GetChild(0));
    Press(KivKeyCode::kRight);
    EXPECT_EQ(tabs.GetSelected(), 0);
    Press(KivKeyCode::kTab, KivInputState::kControl);
    EXPECT_EQ(tabs.GetSelected(), 1);
    Press(KivKeyCode::kTab, KivInputState::kControl | KivInputState::kShift);
    Press(KivKeyCode::kTab, KivInputState::kControl | KivInputState::kShift);  // wraps to the last
    EXPECT_EQ(tabs.GetSelected(), 2);
    EXPECT_EQ(recorder.indices, (std::vector<int32_t>{1, 2, 0, 1, 0, 2}));

    auto value = std::make_unique<KivOwnedValue<Int>>();
    value->SetRange(0, 2);
    Int* raw = value.get();
    tabs.BindValue(std::move(value));
    EXPECT_EQ(tabs.GetSelected(), 0);
    tabs.Select(1);
    EXPECT_EQ(raw->GetValue(), 1);
    tabs.SetTabCaptions({KivString("A"), KivString("B")});
    EXPECT_EQ(tabs.GetTabCaption(0), KivString("A"));
    EXPECT_EQ(tabs.GetTabCaption(2), KivString("Output"));  // beyond the list: the page's caption
}

TEST_F(KivContainerControlsTest, SplitterBarDragStopsAtTheMinimumsAndResizeKeepsTheChosenSide) {
    Load(R"(<window><splitter posx="0" posy="0" sizex="306" sizey="200" minfirst="50" minsecond="80" keep="second">
              <panel caption="Folders"/><panel caption="Presets"/>
            </splitter></window>)");
    auto& splitter = Child<KivSplitter>(0);
    Recorder recorder;
    splitter.OnSplit.AddHandler(&recorder, &Recorder::Index);
    // 300 pixels of room beside the 6-pixel bar, half each.
    EXPECT_EQ(splitter.GetSplitPosition(), 150);
    EXPECT_EQ(splitter.GetChild(0)->GetBounds(), (KivRect{0, 0, 149, 199}));
    EXPECT_EQ(splitter.GetChild(1)->GetBounds(), (KivRect{156, 0, 305, 199}));

    Drag(*window, KivPoint{152, 100}, KivPoint{102, 100});
    Run();
    EXPECT_EQ(splitter.GetSplitPosition(), 100);
    Drag(*window, KivPoint{102, 100}, KivPoint{0, 100});  // the first pane's minimum
    Run();
    EXPECT_EQ(splitter.GetSplitPosition(), 50);
    Drag(*window, KivPoint{52, 100}, KivPoint{400, 100});  // 300 - 80 leaves the second its minimum
    Run();
    EXPECT_EQ(splitter.GetSplitPosition(), 220);
    EXPECT_EQ(splitter.GetChild(1)->GetBounds().Width(), 80);
    Drag(*window, KivPoint{20, 100}, KivPoint{200, 100});  // beside the bar: nothing moves
    Run();
    EXPECT_EQ(recorder.indices, (std::vector<int32_t>{100, 50, 220}));
    EXPECT_EQ(splitter.GetCursorShape(KivPoint{222, 10}), 3);

    // "second": the second pane keeps its 80 pixels when the splitter grows or shrinks.
    splitter.SetBounds(KivRect{0, 0, 405, 199});
    EXPECT_EQ(splitter.GetSplitPosition(), 320);
    splitter.SetKeep(KivSplitter::Keep::kRatio);
    splitter.SetSplitPosition(100);  // a quarter of 400
    splitter.SetBounds(KivRect{0, 0, 205, 199});
    EXPECT_EQ(splitter.GetSplitPosition(), 50);
    splitter.SetBounds(KivRect{0, 0, 105, 199});  // too small for both: the first keeps its minimum
    EXPECT_EQ(splitter.GetSplitPosition(), 50);
    splitter.SetVertical(true);
    splitter.SetBounds(KivRect{0, 0, 105, 405});
    EXPECT_EQ(splitter.GetChild(0)->GetBounds(), (KivRect{0, 0, 105, 99}));  // the ratio came back
    EXPECT_EQ(splitter.BarRect(), (KivRect{0, 100, 105, 105}));
}

TEST_F(KivContainerControlsTest, PanelsRunTheirLayoutsWhenResized) {
    Load(R"(<window><panel posx="0" posy="0" sizex="100" sizey="50" clientlayout="horizontal">
              <button caption="A" sizex="10" sizey="20" layoutratiox="1"/>
              <button caption="B" sizex="10" sizey="20" layoutratiox="1"/>
            </panel></window>)");
    KivControl& panel = *window->GetChild(0);
    KivLayout::SetStyleControlSpacing(0);
    panel.SetBounds(KivRect{0, 0, 199, 49});
    EXPECT_EQ(panel.GetChild(0)->GetBounds().Width() + panel.GetChild(1)->GetBounds().Width(), 200);
    EXPECT_EQ(panel.GetChild(1)->GetBounds().right, 199);
}

TEST_F(KivContainerControlsTest, EveryElementOfTheLoaderLoadsAndPaints) {
    std::string description = R"(<window sizex="640" sizey="480"><vertical>)";
    for (const char* name :
         {"control", "panel", "container", "static", "multilinestatic", "button", "repeaterbutton", "checkbox",
          "comboedit", "edit", "multilineedit", "tabset", "listbox", "treecontrol", "grapheditor", "vector2deditor",
          "menubar", "progressbar", "scrollbar", "tracker", "rotator", "knob", "zoomer", "splitter", "switcher",
          "directorytree", "coloreditor", "colorselectbutton", "filelistbox", "fileselector", "signalgeneratoreditor"}) {
        description += std::string("<") + name + R"( caption=")" + name + R"(" sizex="200" sizey="14"/>)";
    }
    description += R"(</vertical><listbox posx="300" posy="10" sizex="100" sizey="60" items="a|b"><percents value="0.5"/></listbox>
                      <tabset posx="300" posy="80" sizex="200" sizey="90"><panel/><switcher><panel/><panel/></switcher></tabset>
                      <splitter posx="300" posy="180" sizex="100" sizey="40"><panel/><panel/><panel/></splitter>
                      <scrollbar posx="300" posy="230" sizex="100" sizey="12"><percents value="0.25"/></scrollbar>
                    </window>)";
    const KivBitmap picture = KivWindowPicture::Render(*Parse(description));
    ASSERT_EQ(picture.Width(), 640);
    ASSERT_EQ(picture.Height(), 480);
    KivControl::KivXmlLoader loader;
    KivWindow loaded;
    loader.LoadWindow(*Parse(description), loaded);
    EXPECT_EQ(loaded.GetChildCount(), 31 + 4);
    EXPECT_NE(dynamic_cast<KivSwitcher*>(loaded.GetChild(24)), nullptr);
    EXPECT_NE(dynamic_cast<KivTabSet*>(loaded.GetChild(11)), nullptr);
}

}  // namespace
