#include "gui/loader/kiv_xml_loader.h"

#include "base/kiv_exception.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_window.h"
#include "gui/layout/kiv_layout.h"
#include "gui/loader/kiv_value_holder.h"
#include "gui/loader/kiv_xml_loader_creator.h"

struct KivControl::KivXmlLoader::Entry {
    KivString name;
    std::unique_ptr<Creator> creator;
    std::unique_ptr<ValueCreator> valueCreator;
};

namespace {

// A description that breaks the nesting rules is malformed contents.
[[noreturn]] void RaiseMalformed(const char* format, const KivString& name) {
    KivException::Raise(KivException::kInputOutput, KivString(format), name);
}

void ReadPlacement(const KivXMLItem& element, KivControl& control) {
    const KivString key("layoutplacement");
    if (!element.HasAttribute(key)) return;
    const KivString& text = element.GetAttribute(key);
    KivAlignment& alignment = control.Layout().alignment;
    if (text.EqualsFolded("start")) alignment = KivAlignment::kStart;
    if (text.EqualsFolded("end")) alignment = KivAlignment::kEnd;
    if (text.EqualsFolded("center") || text.EqualsFolded("centre")) alignment = KivAlignment::kCenter;
}

}  // namespace

KivControl::KivXmlLoader::KivXmlLoader() { RegisterToolkit(); }

KivControl::KivXmlLoader::~KivXmlLoader() = default;

void KivControl::KivXmlLoader::Register(const KivString& name, std::unique_ptr<Creator> creator) {
    for (Entry& entry : entries_) {
        if (!entry.name.EqualsFolded(name)) continue;
        entry.creator = std::move(creator);
        entry.valueCreator.reset();
        return;
    }
    entries_.push_back(Entry{name, std::move(creator), nullptr});
}

void KivControl::KivXmlLoader::RegisterValue(const KivString& name, std::unique_ptr<ValueCreator> creator) {
    for (Entry& entry : entries_) {
        if (!entry.name.EqualsFolded(name)) continue;
        entry.creator.reset();
        entry.valueCreator = std::move(creator);
        return;
    }
    entries_.push_back(Entry{name, nullptr, std::move(creator)});
}

const KivControl::KivXmlLoader::Entry* KivControl::KivXmlLoader::Find(const KivString& name) const {
    for (const Entry& entry : entries_) {
        if (entry.name.CompareFolded(name) == 0) return &entry;
    }
    return nullptr;
}

const KivControl::KivXmlLoader::Entry& KivControl::KivXmlLoader::Require(const KivXMLItem& element) const {
    const Entry* entry = Find(element.GetName());
    if (entry == nullptr) RaiseMalformed("Unknown GUI element \"{0}\".", element.GetName());
    return *entry;
}

void KivControl::KivXmlLoader::Load(const KivXMLItem& item, KivControl& parent) {
    LoadChildren(item, Place{&parent, CreateClientLayout(item, parent), false});
}

void KivControl::KivXmlLoader::LoadWindow(const KivXMLItem& root, KivWindow& window) {
    window.LoadAttributes(root);
    Load(root, window);
}

void KivControl::KivXmlLoader::LoadChildren(const KivXMLItem& element, const Place& place) {
    for (int32_t index = 0; index < element.GetSubItemCount(); ++index) LoadElement(element.GetSubItemAt(index), place);
}

void KivControl::KivXmlLoader::LoadElement(const KivXMLItem& element, const Place& place) {
    const Entry& entry = Require(element);
    if (entry.valueCreator) {
        LoadValue(element, *entry.valueCreator, place);
        return;
    }
    KivObject* created = entry.creator->Create(element, *place.parent);
    if (auto* layout = dynamic_cast<KivLayout*>(created)) {
        LoadLayoutChildren(element, *layout, place);
    } else if (auto* control = dynamic_cast<KivControl*>(created)) {
        LoadControlChildren(element, *control, place);
    }
}

void KivControl::KivXmlLoader::LoadLayoutChildren(const KivXMLItem& element, KivLayout& layout, const Place& place) {
    // Layouts of one parent run one after the other; there is nothing to nest them in.
    if (place.inLayoutElement) RaiseMalformed("Layout element \"{0}\" stands inside another layout element.", element.GetName());
    LoadChildren(element, Place{place.parent, &layout, true});
}

void KivControl::KivXmlLoader::LoadControlChildren(const KivXMLItem& element, KivControl& control, const Place& place) {
    ReadPlacement(element, control);
    if (place.layout != nullptr) {
        place.layout->LoadControlAttributes(control, element);
        place.layout->Add(control);
    }
    Load(element, control);
}

void KivControl::KivXmlLoader::LoadValue(const KivXMLItem& element, const ValueCreator& creator, const Place& place) {
    auto* holder = place.inLayoutElement ? nullptr : dynamic_cast<KivValueHolder*>(place.parent);
    if (holder == nullptr) RaiseMalformed("Value element \"{0}\" stands outside a value control.", element.GetName());
    holder->BindValue(creator.Create(element));
}

KivLayout* KivControl::KivXmlLoader::CreateClientLayout(const KivXMLItem& element, KivControl& control) {
    const KivString key("clientlayout");
    if (!element.HasAttribute(key)) return nullptr;
    const KivString& name = element.GetAttribute(key);
    const Entry* entry = Find(name);
    if (entry == nullptr || !entry->creator) RaiseMalformed("Unknown client layout \"{0}\".", name);
    const KivXMLItem layoutElement(name);
    auto* layout = dynamic_cast<KivLayout*>(entry->creator->Create(layoutElement, control));
    if (layout == nullptr) RaiseMalformed("Client layout \"{0}\" is not a layout.", name);
    return layout;
}
