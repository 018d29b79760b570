#pragma once

class KivStream;
class KivXMLItem;

// Reads a document like KivXMLItem::Load, and also refuses one that ends before its root
// element is closed. The general reader accepts such a document with what it got so far;
// for a preset file that would be a library cut short, and saving it would lose the rest.
// Raises code 256 "Invalid file contents. The document ends before its root element is
// closed." On failure `document` is left unchanged.
void KivReadCompleteXMLDocument(KivStream& stream, KivXMLItem& document);
