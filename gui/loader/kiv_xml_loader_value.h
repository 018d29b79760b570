#pragma once
#include <memory>

#include "base/xml/kiv_xml_item.h"
#include "gui/loader/kiv_owned_value.h"
#include "gui/loader/kiv_xml_loader_creator.h"

// Creates a T over a variable of its own and reads its definition from the element.
template <typename T>
class KivControl::KivXmlLoader::Value : public KivControl::KivXmlLoader::ValueCreator {
public:
    std::unique_ptr<KivValue> Create(const KivXMLItem& item) const override {
        auto value = std::make_unique<KivOwnedValue<T>>();
        value->LoadDefinition(item);
        return value;
    }
};
