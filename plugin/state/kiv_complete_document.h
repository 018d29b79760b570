#pragma once
#include <cstdint>

class KivXMLItem;

// Reads a settings document completely into `root`, or raises KivException and leaves `root`
// alone. Beyond well-formed markup it insists that the text ends with the root element's
// end, so that a document cut short, which the reader tolerates, is never taken for a whole
// one. `data` is borrowed, not copied.
void KivReadCompleteDocument(const void* data, int32_t size, KivXMLItem& root);
