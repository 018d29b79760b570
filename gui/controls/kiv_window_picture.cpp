#include "gui/controls/kiv_window_picture.h"

#include <algorithm>
#include <memory>

#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_message_window.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"
#include "gui/layout/kiv_layouts.h"
#include "gui/loader/kiv_xml_loader.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "gui/style/kiv_house_style.h"

namespace {

KivPoint ChooseSize(KivWindow& window, KivPoint requested) {
    KivPoint size = requested;
    const KivPoint described = window.GetSize();
    const KivPoint needed = KivLayouts::ComputeCurrentSize(window);
    if (size.x <= 0) size.x = described.x > 0 ? described.x : needed.x;
    if (size.y <= 0) size.y = described.y > 0 ? described.y : needed.y;
    return KivPoint{std::max(size.x, 1), std::max(size.y, 1)};
}

KivMessageButtons ButtonsNamed(const KivString& name) {
    if (name.EqualsFolded(KivString("okcancel"))) return KivMessageButtons::kOkCancel;
    if (name.EqualsFolded(KivString("yesno"))) return KivMessageButtons::kYesNo;
    if (name.EqualsFolded(KivString("yesnocancel"))) return KivMessageButtons::kYesNoCancel;
    return KivMessageButtons::kOk;
}

// Shows the window offscreen and takes what it shows.
KivBitmap Snapshot(KivWindow& window, KivWindowSystemOffscreen& system) {
    window.Show();
    system.ProcessPendingEvents();
    const KivBitmap* screen = system.GetScreen(window);
    KivBitmap picture = screen != nullptr ? screen->Clone() : KivBitmap(window.GetSize().x, window.GetSize().y);
    window.Close();
    return picture;
}

KivBitmap RenderMessageWindow(const KivXMLItem& root, KivWindowSystemOffscreen& system) {
    KivMessageWindow window(root.GetAttribute(KivString("caption")), root.GetAttribute(KivString("text")),
                            ButtonsNamed(root.GetAttribute(KivString("buttons"))));
    return Snapshot(window, system);
}

}  // namespace

void KivWindowPicture::ArrangeTree(KivControl& control) {
    // A control whose size did not change has not arranged its children yet.
    control.Arrange();
    for (int32_t index = 0; index < control.GetChildCount(); ++index) ArrangeTree(*control.GetChild(index));
}

KivBitmap KivWindowPicture::Render(const KivXMLItem& root, KivPoint size) {
    const KivHouseStyle& style = KivHouseStyle::Instance();
    std::unique_ptr<KivWindows> ownWindows;
    auto* system = dynamic_cast<KivWindowSystemOffscreen*>(KivWindows::System());
    if (system == nullptr) {
        system = new KivWindowSystemOffscreen();
        ownWindows = std::make_unique<KivWindows>(system);
    }
    if (root.GetName().EqualsFolded(KivString("messagewindow"))) return RenderMessageWindow(root, *system);
    KivWindow window;
    window.SetStyle(&style);
    window.SetBackground(KivHouseStyle::DefaultColor(KivStyleColor::kGeneralBackground));
    KivControl::KivXmlLoader loader;
    loader.LoadWindow(root, window);
    const KivPoint chosen = ChooseSize(window, size);
    window.SetBounds(KivRect{0, 0, chosen.x - 1, chosen.y - 1});
    ArrangeTree(window);
    return Snapshot(window, *system);
}
