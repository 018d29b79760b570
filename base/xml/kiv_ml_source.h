#pragma once
#include "base/kiv_object.h"
#include "base/kiv_string.h"

// Where the markup tokenizer gets its characters: one line at a time, so that a document
// is never held in memory as a whole. The processing instruction at the head of a
// document may name the encoding of everything after it.
class KivMLSource : public KivObject {
public:
    // The next line without its line end; false when the data has ended.
    virtual bool ReadLine(KivString& line) = 0;
    // Decodes the rest of the data with the codec answering to `name`.
    virtual void SelectEncoding(const KivString& name) = 0;
};
