#pragma once
#include <memory>

#include "gui/loader/kiv_xml_loader_creator.h"

// Creates a T as a child of the parent and reads the element's control attributes.
template <typename T>
class KivControl::KivXmlLoader::Control : public KivControl::KivXmlLoader::Creator {
public:
    KivObject* Create(const KivXMLItem& item, KivControl& parent) const override {
        auto control = std::make_unique<T>();
        parent.AddChild(control.get());  // raises for a parent that holds no children
        T* created = control.release();
        created->LoadAttributes(item);
        return created;
    }
};

// Creates a T for the parent (it joins the parent's layouts) and reads its attributes.
template <typename T>
class KivControl::KivXmlLoader::Layout : public KivControl::KivXmlLoader::Creator {
public:
    KivObject* Create(const KivXMLItem& item, KivControl& parent) const override {
        T* layout = new T(&parent);  // owned by the parent from here on
        layout->LoadAttributes(item);
        return layout;
    }
};
