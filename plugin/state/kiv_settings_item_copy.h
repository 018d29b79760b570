#pragma once

class KivXMLItem;

// Makes `target` a deep copy of `source` (attributes, text and the whole subtree), keeping
// `target`'s own name.
void KivCopySettingsItem(const KivXMLItem& source, KivXMLItem& target);
