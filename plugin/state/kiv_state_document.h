#pragma once
#include <cstdint>

#include "base/kiv_byte_buffer.h"

class KivAudioPlugin;

// A plug-in's complete state as hosts keep it: an XML document with root "settings", written
// as UTF-8 text with no header, length or compression.
namespace KivStateDocument {

// The root element's name.
extern const char* const kRootName;

// Runs the plug-in's settings traversal into a new document and writes it out.
KivByteBuffer Save(KivAudioPlugin& plugin);
// Parses `data` (borrowed, not copied) completely into a new document, then loads the
// plug-in from it. A document that does not parse, or is cut short, raises KivException
// before anything is loaded.
void Load(KivAudioPlugin& plugin, const void* data, int32_t size);

}  // namespace KivStateDocument
