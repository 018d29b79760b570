#include "plugin/state/kiv_state_document.h"

#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "plugin/kiv_audio_plugin.h"
#include "plugin/state/kiv_complete_document.h"

namespace KivStateDocument {

const char* const kRootName = "settings";

KivByteBuffer Save(KivAudioPlugin& plugin) {
    KivXMLItem root{KivString(kRootName)};
    plugin.StoreSettings(root, true);
    KivMemoryStream stream;
    root.Save(stream, KivString("utf-8"));
    return stream.GetContents();
}

void Load(KivAudioPlugin& plugin, const void* data, int32_t size) {
    KivXMLItem root;
    KivReadCompleteDocument(data, size, root);
    plugin.StoreSettings(root, false);
}

}  // namespace KivStateDocument
