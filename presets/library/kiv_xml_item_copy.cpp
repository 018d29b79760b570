#include "presets/library/kiv_xml_item_copy.h"

#include <utility>
#include <vector>

#include "base/xml/kiv_xml_item.h"

namespace {

void CopyOwnContents(const KivXMLItem& source, KivXMLItem& copy) {
    for (int32_t index = 0; index < source.GetAttributeCount(); ++index) {
        const KivAttribute& attribute = source.GetAttributeAt(index);
        copy.SetAttribute(attribute.name, attribute.value);
    }
    copy.SetText(source.GetText());
}

}  // namespace

KivXMLItem& KivAppendXMLItemCopy(const KivXMLItem& source, KivXMLItem& target) {
    KivXMLItem& top = target.AddSubItem(source.GetName());
    CopyOwnContents(source, top);
    // Each entry: an original whose subitems still have to be copied below its copy.
    std::vector<std::pair<const KivXMLItem*, KivXMLItem*>> pending{{&source, &top}};
    while (!pending.empty()) {
        auto [original, copy] = pending.back();
        pending.pop_back();
        for (int32_t index = 0; index < original->GetSubItemCount(); ++index) {
            const KivXMLItem& child = original->GetSubItemAt(index);
            KivXMLItem& childCopy = copy->AddSubItem(child.GetName());
            CopyOwnContents(child, childCopy);
            pending.emplace_back(&child, &childCopy);
        }
    }
    return top;
}
