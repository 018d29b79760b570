#pragma once
#include <memory>
#include <vector>

#include "base/kiv_string.h"
#include "gui/core/kiv_control.h"
#include "parameters/values/kiv_value.h"

class KivLayout;
class KivWindow;
class KivXMLItem;

// Turns a GUI description into a live control tree. Each element names a control, a layout
// or a value; the loader keeps one creator per element name (compared folded: case and
// accents do not matter) and raises a KivException naming any element it has no creator for.
//
// Nesting rules:
// - The root element of a description is the window: its attributes are the window's
//   control attributes and its children are loaded into the window (LoadWindow).
// - A layout element creates that layout for the control whose element encloses it; the
//   layout joins that control's layouts in document order. Layouts do not nest: a layout
//   element directly inside another raises.
// - A control element becomes a child of the enclosing control. Directly inside a layout
//   element it joins that layout (with the layout's per-control attributes read from its
//   element: "hspan", "vspan", "target", "space"); directly inside a control element it
//   joins that control's "clientlayout", if the control names one, else it stays where
//   "posx"/"posy" put it.
// - The children of a control element are loaded with that control as parent.
// - A value element must stand directly inside the element of a value control (a
//   KivValueHolder); the value is built, reads its definition from its element and is bound
//   to that control. Anywhere else it raises.
// - Two attributes of a control feed the layouts here: "layoutplacement" ("start", "end",
//   "center") aligns it in its cell, "clientlayout" names a layout element created for the
//   control before its children load.
class KivControl::KivXmlLoader {
public:
    class Creator;
    class ValueCreator;
    template <typename T>
    class Control;
    template <typename T>
    class Layout;
    template <typename T>
    class Value;

    // Holds the creators of every control, layout and value element of the toolkit.
    KivXmlLoader();
    ~KivXmlLoader();
    KivXmlLoader(const KivXmlLoader&) = delete;
    KivXmlLoader& operator=(const KivXmlLoader&) = delete;

    // A later registration of the same name replaces the earlier one.
    void Register(const KivString& name, std::unique_ptr<Creator> creator);
    void RegisterValue(const KivString& name, std::unique_ptr<ValueCreator> creator);

    // Loads every child element of `item` under `parent`.
    void Load(const KivXMLItem& item, KivControl& parent);
    // `root` is the window's own element.
    void LoadWindow(const KivXMLItem& root, KivWindow& window);

private:
    struct Entry;
    // Where an element stands: the control it belongs to, the layout its control elements
    // join, and whether it stands directly in a layout element.
    struct Place {
        KivControl* parent;
        KivLayout* layout;
        bool inLayoutElement;
    };

    const Entry* Find(const KivString& name) const;
    const Entry& Require(const KivXMLItem& element) const;
    void LoadChildren(const KivXMLItem& element, const Place& place);
    void LoadElement(const KivXMLItem& element, const Place& place);
    void LoadLayoutChildren(const KivXMLItem& element, KivLayout& layout, const Place& place);
    void LoadControlChildren(const KivXMLItem& element, KivControl& control, const Place& place);
    void LoadValue(const KivXMLItem& element, const ValueCreator& creator, const Place& place);
    // The layout named by the element's "clientlayout", created for `control`; null if none.
    KivLayout* CreateClientLayout(const KivXMLItem& element, KivControl& control);
    void RegisterToolkit();

    std::vector<Entry> entries_;
};
