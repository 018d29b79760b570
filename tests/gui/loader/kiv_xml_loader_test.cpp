// The GUI loader: element tables, nesting rules, value binding, and one description using
// every layout element, arranged and checked against rectangles worked out by hand.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_window.h"
#include "gui/layout/kiv_layout_switch.h"
#include "gui/layout/kiv_layouts.h"
#include "gui/loader/kiv_loaded_value_control.h"
#include "gui/loader/kiv_xml_loader.h"
#include "parameters/values/kiv_value_percents.h"

namespace {

void Parse(KivXMLItem& item, const std::string& text) {
    KivMemoryStream stream;
    stream.Write(text.data(), static_cast<int32_t>(text.size()));
    stream.Seek(0, KivStream::kFromStart);
    item.Load(stream);
}

// Arranges a panel and every panel below it, parents first.
void ArrangeTree(KivControl& control) {
    auto* panel = dynamic_cast<KivPanel*>(&control);
    if (panel == nullptr) return;
    KivLayouts::Arrange(*panel);
    for (int32_t index = 0; index < panel->GetChildCount(); ++index) ArrangeTree(*panel->GetChild(index));
}

KivControl& Child(const KivControl& parent, int32_t index) { return *parent.GetChild(index); }

void ExpectRect(const KivControl& control, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const KivRect& r = control.GetBounds();
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

// The message of the failure `load` raises, or "no failure".
template <typename Load>
std::string FailureOf(Load load) {
    try {
        load();
    } catch (const KivException& e) {
        EXPECT_EQ(e.GetCode(), KivException::kInputOutput);
        return e.GetMessage().ToUTF8();
    }
    return "no failure";
}

class KivXmlLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { KivLayout::SetStyleControlSpacing(0); }
    // Loads a description whose root is the window.
    void LoadWindow(const std::string& text) {
        Parse(description, text);
        loader.LoadWindow(description, window);
    }
    KivControl::KivXmlLoader loader;
    KivXMLItem description;
    KivWindow window;
};

// Window 300 × 200. Border 5 leaves 5..294 × 5..194. Top strip 20 deep, spacing 2: free
// from y 27. Bottom strip 10: free to y 184. Left strip 30: free from x 35. Right strip 20:
// free to x 274. The corner button sits in 35..274 × 27..184 without taking it. The
// horizontal line is 240 wide: the fixed third panel takes 60, the two ratio panels 90 each.
TEST_F(KivXmlLoaderTest, DescriptionWithEveryLayoutElement) {
    LoadWindow(R"(<window sizex="300" sizey="200">
  <occupyborder border="5"/>
  <Top layoutspace="2">
    <static sizex="50" sizey="20"/>
    <button sizex="30" sizey="16" layoutplacement="center"/>
  </Top>
  <bottom><static sizex="40" sizey="10"/></bottom>
  <left><knob sizex="30" sizey="30"><percents min="0" max="100" value="25"/></knob></left>
  <right><tracker sizex="20" sizey="40"/></right>
  <corner><button target="corner2" sizex="8" sizey="8"/></corner>
  <horizontal>
    <panel layoutratiox="1" layoutratioy="1">
      <vertical>
        <static sizex="40" sizey="10"/>
        <static sizey="5" layoutratiox="1" layoutratioy="1"/>
        <static sizex="20" sizey="10" layoutplacement="end"/>
      </vertical>
    </panel>
    <panel layoutratiox="1" layoutratioy="1">
      <grid columns="2" layoutspace="1">
        <static sizex="30" sizey="10"/>
        <static sizex="40" sizey="10"/>
        <static sizex="50" sizey="12" hspan="2"/>
      </grid>
    </panel>
    <container sizex="60" layoutratioy="1">
      <overlay>
        <static sizex="5" sizey="5"/>
        <static sizex="5" sizey="5" visible="false" layoutborderx="3"/>
      </overlay>
    </container>
  </horizontal>
</window>)");
    ASSERT_EQ(window.GetChildCount(), 9);
    ASSERT_EQ(window.GetLayoutCount(), 7);
    ArrangeTree(window);
    ExpectRect(Child(window, 0), 5, 5, 54, 24);
    ExpectRect(Child(window, 1), 57, 7, 86, 22);  // centred: (20 - 16) / 2 = 2
    ExpectRect(Child(window, 2), 5, 185, 44, 194);
    ExpectRect(Child(window, 3), 5, 27, 34, 56);
    ExpectRect(Child(window, 4), 275, 27, 294, 66);
    ExpectRect(Child(window, 5), 267, 177, 274, 184);
    KivControl& lines = Child(window, 6);
    KivControl& grid = Child(window, 7);
    KivControl& overlay = Child(window, 8);
    ExpectRect(lines, 35, 27, 124, 184);
    ExpectRect(grid, 125, 27, 214, 184);
    ExpectRect(overlay, 215, 27, 274, 184);
    // Panel 90 × 158: fixed 10 + 10, the ratio control takes the 138 between.
    ExpectRect(Child(lines, 0), 0, 0, 39, 9);
    ExpectRect(Child(lines, 1), 0, 10, 89, 147);
    ExpectRect(Child(lines, 2), 70, 148, 89, 157);
    // Columns 30 and 40 one apart; the spanning control fits in 30 + 1 + 40.
    ExpectRect(Child(grid, 0), 0, 0, 29, 9);
    ExpectRect(Child(grid, 1), 31, 0, 70, 9);
    ExpectRect(Child(grid, 2), 0, 11, 49, 22);
    ExpectRect(Child(overlay, 0), 0, 0, 59, 157);
    ExpectRect(Child(overlay, 1), 3, 0, 56, 157);
    EXPECT_NE(dynamic_cast<KivLayoutSwitch*>(dynamic_cast<KivPanel&>(overlay).GetLayoutObject(0)), nullptr);
    auto* knob = dynamic_cast<KivLoadedValueControl*>(&Child(window, 3));
    ASSERT_NE(knob, nullptr);
    auto* percents = dynamic_cast<KivValuePercents*>(knob->GetValue());
    ASSERT_NE(percents, nullptr);
    EXPECT_DOUBLE_EQ(percents->GetValue(), 25.0);
    EXPECT_DOUBLE_EQ(percents->Get01(), 0.25);
}

TEST_F(KivXmlLoaderTest, ControlsDirectlyInsideAControlJoinItsClientLayout) {
    LoadWindow(R"(<window sizex="100" sizey="100" clientlayout="vertical">
  <static sizex="10" sizey="10"/>
  <PANEL sizex="20" sizey="30" posx="50"><static posx="4" posy="6" sizex="5" sizey="5"/></PANEL>
</window>)");
    ArrangeTree(window);
    ExpectRect(Child(window, 0), 0, 0, 9, 9);
    ExpectRect(Child(window, 1), 0, 10, 19, 39);
    ExpectRect(Child(Child(window, 1), 0), 4, 6, 8, 10);  // no client layout: stays put
}

TEST_F(KivXmlLoaderTest, EveryElementOfTheTablesLoads) {
    const char* const controls[] = {"control", "panel", "container", "static", "multilinestatic", "button",
                                    "repeaterbutton", "checkbox", "comboedit", "edit", "multilineedit", "tabset",
                                    "listbox", "treecontrol", "grapheditor", "vector2deditor", "menubar",
                                    "progressbar", "scrollbar", "tracker", "rotator", "knob", "zoomer", "splitter",
                                    "switcher", "directorytree", "coloreditor", "colorselectbutton", "filelistbox",
                                    "fileselector", "signalgeneratoreditor"};
    const char* const values[] = {"int32", "int64", "int16", "float", "double", "stepdouble", "percents",
                                  "signalgeneratorshape", "frequency", "frequencylog", "frequencylinear", "volume",
                                  "panorama", "pitch", "timems", "stdicon", "stdbitmap", "stdcursor", "stdfont",
                                  "stdcolor", "horizontalobjectlayout", "verticalobjectlayout", "language",
                                  "country", "threadpriority", "controltype", "captiontype", "modalvalue",
                                  "checkboxstate"};
    const char* const layouts[] = {"grid", "top", "left", "right", "bottom", "corner", "vertical", "horizontal",
                                   "overlay", "occupyborder"};
    KivXMLItem& root = description;
    for (const char* name : controls) root.AddSubItem(name);
    for (const char* name : values) {
        KivXMLItem& knob = root.AddSubItem("knob");
        knob.AddSubItem(name);
    }
    for (const char* name : layouts) root.AddSubItem(name);
    loader.LoadWindow(root, window);
    EXPECT_EQ(window.GetChildCount(), static_cast<int32_t>(std::size(controls) + std::size(values)));
    EXPECT_EQ(window.GetLayoutCount(), static_cast<int32_t>(std::size(layouts)));
    for (int32_t index = 0; index < static_cast<int32_t>(std::size(values)); ++index) {
        auto* knob = dynamic_cast<KivLoadedValueControl*>(window.GetChild(static_cast<int32_t>(std::size(controls)) + index));
        ASSERT_NE(knob, nullptr);
        EXPECT_NE(knob->GetValue(), nullptr) << values[index];
    }
}

TEST_F(KivXmlLoaderTest, BrokenNestingAndUnknownElementsRaiseNamingTheElement) {
    const auto load = [this](const char* text) {
        return FailureOf([&] {
            KivXMLItem item;
            Parse(item, text);
            KivWindow target;
            loader.LoadWindow(item, target);
        });
    };
    EXPECT_EQ(load("<window><panel><frobnicator/></panel></window>"), "Unknown GUI element \"frobnicator\".");
    EXPECT_EQ(load("<window><percents/></window>"), "Value element \"percents\" stands outside a value control.");
    EXPECT_EQ(load("<window><top><percents/></top></window>"), "Value element \"percents\" stands outside a value control.");
    EXPECT_EQ(load("<window><top><grid/></top></window>"), "Layout element \"grid\" stands inside another layout element.");
    EXPECT_EQ(load("<window clientlayout=\"diagonal\"/>"), "Unknown client layout \"diagonal\".");
}

}  // namespace
