#include "plugin/state/kiv_settings_item_copy.h"

#include "base/xml/kiv_xml_item.h"

namespace {

void CopyContents(const KivXMLItem& source, KivXMLItem& target) {
    for (int32_t index = 0; index < source.GetAttributeCount(); ++index) {
        const KivAttribute& attribute = source.GetAttributeAt(index);
        target.SetAttribute(attribute.name, attribute.value);
    }
    target.SetText(source.GetText());
    for (int32_t index = 0; index < source.GetSubItemCount(); ++index) {
        const KivXMLItem& child = source.GetSubItemAt(index);
        CopyContents(child, target.AddSubItem(child.GetName()));
    }
}

}  // namespace

void KivCopySettingsItem(const KivXMLItem& source, KivXMLItem& target) {
    const KivString name = target.GetName();
    target.Clear();
    target.SetName(name);
    CopyContents(source, target);
}
