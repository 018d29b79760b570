#pragma once

class KivXMLItem;

// Appends to `target` a copy of `source` with everything below it, as a new last subitem,
// and returns that copy. Works without recursion, so that no nesting depth a file may hold
// can exhaust the stack.
KivXMLItem& KivAppendXMLItemCopy(const KivXMLItem& source, KivXMLItem& target);
