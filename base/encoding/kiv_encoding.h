#pragma once
#include "base/encoding/kiv_text_reader.h"
#include "base/encoding/kiv_text_writer.h"
#include "base/kiv_byte_buffer.h"
#include "base/kiv_object.h"
#include "base/kiv_string.h"

class KivStream;

namespace KivEncoding {

// A text codec: turns a KivString into bytes and back for files and streams. Codecs are
// process-wide singletons without state, reached through GetCodec. The order of the
// virtual operations is part of the interface.
class Codec : public KivObject {
public:
    virtual KivString GetName() const = 0;
    // The text the bytes spell.
    virtual KivString Decode(const KivByteBuffer& bytes) const = 0;
    // The encoded bytes, followed by an encoded 0 when `terminate` is true.
    virtual KivByteBuffer Encode(const KivString& text, bool terminate) const = 0;
    // Reads and checks the header at the start of a text stream (none by default).
    virtual void ReadHeader(KivStream& stream) const;
    virtual void WriteHeader(KivStream& stream) const;
    // One line without its line feed (a carriage return is dropped too); false when the
    // data ended before any character of a line was read.
    virtual bool ReadLine(TextReader& reader, KivString& line) const = 0;
    virtual void WriteText(TextWriter& writer, const KivString& text) const = 0;
    // The text followed by one character 10.
    virtual void WriteLine(TextWriter& writer, const KivString& text) const;

protected:
    // Appends `character` to `line` unless it ends the line; true when it ended the line.
    static bool TakeLineCharacter(char16_t character, KivString& line);
};

// The codec answering to `name` (folded comparison): "" or "ascii" is ASCII, "utf8"/"utf-8" and
// "utf16"/"utf-16" are the Unicode codecs, anything else names a code page. Raises
// "No codec found for encoding {0}." when nothing answers.
const Codec& GetCodec(const KivString& name);

}  // namespace KivEncoding
