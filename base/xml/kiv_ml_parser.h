#pragma once
#include <array>
#include <cstdint>
#include <utility>

#include "base/kiv_exception.h"
#include "base/kiv_object.h"
#include "base/kiv_string.h"
#include "base/xml/kiv_ml_source.h"
#include "base/xml/kiv_xml_entities.h"
#include "base/xml/kiv_xml_messages.h"

// The markup tokenizer shared by the XML reader and the styled-text markup of the GUI. It
// scans a source line by line and reports elements and text to the derived class; tags,
// quoted values, comments and CDATA sections may span lines. Its scratch buffers are reused
// from token to token, so that the only allocations are the strings handed to the
// handlers.
//
// Text is reported one line piece at a time, its white space (characters up to 32) cut off
// at both ends before its entities are decoded: the layout of a file never becomes content,
// while an entity such as "&#10;" at the edge of a piece is kept. White-space-only pieces are
// not reported. A CDATA section is reported as one piece, white space cut off at its ends
// but otherwise unchanged (no entities decoded, inner line breaks kept as character 10). A
// quoted value that spans lines keeps a character 10 at each line break.
template <typename Attribute, typename AttributeList>
class KivMLParser : public KivObject {
public:
    ~KivMLParser() override = default;

    // An opening tag (`closing` false) or a closing tag; "<x/>" gives both. Returns true when
    // the document is complete and scanning stops.
    virtual bool OnElement(const KivString& name, const AttributeList& attributes, bool closing) = 0;
    // One piece of character data; returns true to stop scanning.
    virtual bool OnText(const KivString& text) = 0;

    // Scans `source` until its data ends or a handler asks to stop.
    void Parse(KivMLSource& source) {
        Start(source);
        for (int character = Peek(); character != kEnd; character = Peek()) {
            bool stop;
            if (character == u'<') {
                Advance();
                stop = ReadMarkup();
            } else {
                stop = ReadTextPiece();
            }
            if (stop) return;
        }
    }

    // Raises `message` behind "Invalid file contents. " with the malformed-contents code.
    [[noreturn]] static void RaiseMalformed(const char* message) {
        KivString text(KivXMLMessages::kMalformedPrefix);
        text.Append(KivString(message));
        throw KivException(text, KivException::kInputOutput);
    }

private:
    static constexpr int kEnd = -1;
    static constexpr char16_t kLineBreak = 10;
    // Stands for the line once the data has ended, so that spans stay valid pointers.
    static constexpr char16_t kNoUnits[2] = {0, 0};
    enum CharacterClass : uint8_t { kOrdinary = 0, kWhite = 1, kSpecial = 2 };

    static constexpr std::array<uint8_t, 256> MakeClassTable() {
        std::array<uint8_t, 256> table{};
        for (int character = 0; character <= 32; ++character) table[character] = kWhite;
        for (const char* special = "<>\"/!="; *special != 0; ++special)
            table[static_cast<unsigned char>(*special)] = kSpecial;
        return table;
    }
    static constexpr std::array<uint8_t, 256> kClasses = MakeClassTable();

    static uint8_t ClassOf(int character) {
        return character < 256 ? kClasses[character] : static_cast<uint8_t>(kOrdinary);
    }
    static bool IsSpecial(int character) { return character >= 0 && ClassOf(character) == kSpecial; }
    static bool EndsName(char16_t character) { return ClassOf(character) != kOrdinary; }

    void Start(KivMLSource& source) {
        source_ = &source;
        ended_ = false;
        units_ = kNoUnits;
        length_ = 0;
        position_ = 1;  // behind an empty line: the first Peek fetches the first line
    }

    bool NextLine() {
        if (ended_ || !source_->ReadLine(line_)) {
            ended_ = true;
            units_ = kNoUnits;
            length_ = 0;
            position_ = 1;
            return false;
        }
        units_ = line_.Units();
        length_ = line_.Length();
        position_ = 0;
        return true;
    }

    // The current character; the end of each line reads as one character 10.
    int Peek() {
        if (position_ < length_) return units_[position_];
        if (position_ == length_) return kLineBreak;
        return NextLine() ? Peek() : kEnd;
    }
    void Advance() { ++position_; }

    int SkipWhite() {
        int character = Peek();
        while (character != kEnd && character <= 32) {
            Advance();
            character = Peek();
        }
        return character;
    }

    // Names and unquoted values end at white space, a special character or the line end.
    int32_t ScanName() {
        Peek();
        int32_t start = position_;
        while (position_ < length_ && !EndsName(units_[position_])) ++position_;
        return start;
    }
    KivString ReadName() {
        int32_t start = ScanName();
        return KivString(units_ + start, position_ - start);
    }

    KivString Decoded(const char16_t* units, int32_t count) {
        KivString text;
        text.Reserve(count);
        KivXMLEntities::AppendDecoded(units, count, text);
        return text;
    }

    bool ReadTextPiece() {
        if (position_ == length_) {
            Advance();  // the line break itself separates pieces
            return false;
        }
        int32_t start = position_;
        while (position_ < length_ && units_[position_] != u'<') ++position_;
        int32_t end = position_;
        while (start < end && units_[start] <= 32) ++start;
        while (end > start && units_[end - 1] <= 32) --end;
        return start < end && OnText(Decoded(units_ + start, end - start));
    }

    bool ReadMarkup() {
        switch (Peek()) {
            case u'/':
                Advance();
                return ReadClosingTag();
            case u'!':
                Advance();
                return ReadSpecialElement();
            case u'?':
                Advance();
                ReadProcessingInstruction();
                return false;
            default:
                return ReadOpeningTag();
        }
    }

    bool ReadOpeningTag() {
        KivString name = ReadName();
        if (name.IsEmpty()) RaiseMalformed(KivXMLMessages::kNoElementName);
        ReadAttributes(false);
        bool closesItself = ReadTagEnd();
        if (OnElement(name, attributes_, false)) return true;
        if (!closesItself) return false;
        attributes_.Clear();
        return OnElement(name, attributes_, true);
    }

    bool ReadClosingTag() {
        int32_t start = ScanName();
        closingName_.SetLength(0);
        closingName_.Append(units_ + start, position_ - start);
        if (SkipWhite() != u'>') RaiseMalformed(KivXMLMessages::kInvalidClosingSyntax);
        Advance();
        attributes_.Clear();
        return OnElement(closingName_, attributes_, true);
    }

    // True for "/>", false for ">".
    bool ReadTagEnd() {
        int character = Peek();
        if (character == u'>') {
            Advance();
            return false;
        }
        if (character == u'/') {
            Advance();
            if (Peek() == u'>') {
                Advance();
                return true;
            }
        }
        RaiseMalformed(KivXMLMessages::kInvalidFinishingSequence);
    }

    void ReadAttributes(bool instruction) {
        attributes_.Clear();
        for (;;) {
            int character = SkipWhite();
            if (character == kEnd || character == u'>' || character == u'/' || (instruction && character == u'?'))
                return;
            if (IsSpecial(character)) RaiseMalformed(KivXMLMessages::kSpecialCharacterForAttribute);
            KivString name = ReadName();
            if (SkipWhite() != u'=') RaiseMalformed(KivXMLMessages::kInvalidCharacterForAttribute);
            Advance();
            KivString value = SkipWhite() == u'"' ? ReadQuotedValue() : ReadUnquotedValue();
            attributes_.Add(Attribute{std::move(name), std::move(value)});
        }
    }

    KivString ReadUnquotedValue() {
        int32_t start = ScanName();
        return Decoded(units_ + start, position_ - start);
    }

    KivString ReadQuotedValue() {
        Advance();
        scratch_.SetLength(0);
        for (;;) {
            int32_t start = position_;
            while (position_ < length_ && units_[position_] != u'"') ++position_;
            scratch_.Append(units_ + start, position_ - start);
            if (position_ < length_) break;
            if (!NextLine()) RaiseMalformed(KivXMLMessages::kNoEndingDelimiter);
            scratch_.Append(kLineBreak);
        }
        Advance();
        return Decoded(scratch_.HeapUnits(), scratch_.Length());
    }

    bool ReadSpecialElement() {
        int character = Peek();
        if (character == u'-') {
            Advance();
            SkipComment();
            return false;
        }
        if (character != u'[') RaiseMalformed(KivXMLMessages::kInvalidSpecialSequence);
        Advance();
        ReadCDataKeyword();
        return ReadCDataContent();
    }

    void SkipComment() {
        int dashes = 0;
        for (;;) {
            int character = Peek();
            if (character == kEnd) RaiseMalformed(KivXMLMessages::kNoEndingDelimiter);
            Advance();
            if (character == u'>' && dashes >= 2) return;
            dashes = character == u'-' ? dashes + 1 : 0;
        }
    }

    // The word between "<![" and the next "[" must be CDATA; anything longer cannot be.
    void ReadCDataKeyword() {
        static constexpr int32_t kKeywordLength = 5;
        scratch_.SetLength(0);
        for (;;) {
            int character = Peek();
            if (character == kEnd || scratch_.Length() > kKeywordLength)
                RaiseMalformed(KivXMLMessages::kInvalidSpecialSequence);
            Advance();
            if (character == u'[') break;
            scratch_.Append(static_cast<char16_t>(character));
        }
        if (!scratch_.EqualsFolded(KivString("CDATA"))) RaiseMalformed(KivXMLMessages::kInvalidSpecialSequence);
    }

    bool ReadCDataContent() {
        scratch_.SetLength(0);
        for (;;) {
            int character = Peek();
            if (character == kEnd) RaiseMalformed(KivXMLMessages::kNoEndingDelimiter);
            Advance();
            scratch_.Append(static_cast<char16_t>(character));
            if (character == u'>' && EndsWithCDataClose()) break;
        }
        const char16_t* content = scratch_.HeapUnits();
        int32_t start = 0;
        int32_t end = scratch_.Length() - 3;
        while (start < end && content[start] <= 32) ++start;
        while (end > start && content[end - 1] <= 32) --end;
        return start < end && OnText(KivString(content + start, end - start));
    }

    bool EndsWithCDataClose() const {
        int32_t length = scratch_.Length();
        return length >= 3 && scratch_[length - 2] == u']' && scratch_[length - 3] == u']';
    }

    // "<?name attributes ?>": an "encoding" attribute switches the codec for what follows.
    void ReadProcessingInstruction() {
        if (ReadName().IsEmpty()) RaiseMalformed(KivXMLMessages::kNoElementName);
        ReadAttributes(true);
        if (Peek() != u'?') RaiseMalformed(KivXMLMessages::kInvalidFinishingSequence);
        Advance();
        if (Peek() != u'>') RaiseMalformed(KivXMLMessages::kInvalidFinishingSequence);
        Advance();
        for (int32_t i = 0; i < attributes_.Count(); ++i)
            if (attributes_[i].name.EqualsFolded(KivString("encoding"))) source_->SelectEncoding(attributes_[i].value);
    }

    KivMLSource* source_ = nullptr;
    KivString line_;
    const char16_t* units_ = kNoUnits;
    int32_t length_ = 0;
    int32_t position_ = 1;  // == length_: at the line break; beyond: the next line is due
    bool ended_ = false;
    AttributeList attributes_;
    KivString closingName_;
    KivString scratch_;
};
