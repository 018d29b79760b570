#pragma once
#include <cstdint>

#include "base/kiv_string.h"

class KivXMLItem;

// Walks the subitems of one item in document order, all of them or only those of one name
// (folded comparison):
//
//     KivXMLItemIterator presets;
//     for (presets.Start(folder, "preset"); presets.Next();) Load(presets.Current());
//
// Next and Current raise "XML item iterator has not been initialized." before Start, and
// Current also when Next has not yet found an item.
class KivXMLItemIterator {
public:
    void Start(const KivXMLItem& item);
    void Start(const KivXMLItem& item, const KivString& name);
    // Moves to the next matching subitem; false when there is none left.
    bool Next();
    KivXMLItem& Current() const;

private:
    void RequireStarted() const;

    const KivXMLItem* item_ = nullptr;
    KivString name_;
    bool filtered_ = false;
    int32_t index_ = -1;  // of the current subitem; -1 before the first
};
