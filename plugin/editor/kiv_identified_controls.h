#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "base/kiv_string.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_control.h"
#include "gui/loader/kiv_xml_loader.h"
#include "gui/loader/kiv_xml_loader_control.h"
#include "gui/loader/kiv_xml_loader_creator.h"

// The controls of a window by the "id" of their elements, so that code can bind the parts
// of a description it knows by name. Several elements may share an identifier; they are
// found in document order.
class KivIdentifiedControls {
public:
    // Registers the standard control elements (and `T` under `name` with Add) so that their
    // identifiers are kept here.
    void RegisterStandard(KivControl::KivXmlLoader& loader);
    template <typename T>
    void Add(KivControl::KivXmlLoader& loader, const char* name) {
        loader.Register(KivString(name), std::make_unique<Creator<T>>(*this));
    }

    void Note(const KivString& identifier, KivControl& control) { entries_.emplace_back(identifier, &control); }
    // The `occurrence`-th control noted under `identifier`; null if none.
    KivControl* Find(const KivString& identifier, int32_t occurrence = 0) const;
    template <typename T>
    T* Find(const KivString& identifier, int32_t occurrence = 0) const {
        return dynamic_cast<T*>(Find(identifier, occurrence));
    }

private:
    template <typename T>
    class Creator : public KivControl::KivXmlLoader::Creator {
    public:
        explicit Creator(KivIdentifiedControls& controls) : controls_(controls) {}
        KivObject* Create(const KivXMLItem& item, KivControl& parent) const override;

    private:
        KivIdentifiedControls& controls_;
    };

    std::vector<std::pair<KivString, KivControl*>> entries_;
};

template <typename T>
KivObject* KivIdentifiedControls::Creator<T>::Create(const KivXMLItem& item, KivControl& parent) const {
    KivObject* created = KivControl::KivXmlLoader::Control<T>().Create(item, parent);
    if (item.HasAttribute(KivString("id"))) controls_.Note(item.GetAttribute(), *static_cast<T*>(created));
    return created;
}
