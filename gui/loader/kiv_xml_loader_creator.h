#pragma once
#include <memory>

#include "base/kiv_object.h"
#include "gui/loader/kiv_xml_loader.h"

// Builds the control or layout of one element under `parent`, with the element's own
// attributes read; children are the loader's business.
class KivControl::KivXmlLoader::Creator {
public:
    virtual ~Creator() = default;
    virtual KivObject* Create(const KivXMLItem& item, KivControl& parent) const = 0;
};

// Builds the value of a value element, its definition (range, steps, default, format) read
// from the element.
class KivControl::KivXmlLoader::ValueCreator {
public:
    virtual ~ValueCreator() = default;
    virtual std::unique_ptr<KivValue> Create(const KivXMLItem& item) const = 0;
};
