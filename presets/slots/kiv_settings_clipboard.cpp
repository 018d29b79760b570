#include "presets/slots/kiv_settings_clipboard.h"

#include <vector>

#include "base/kiv_boundary.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "platform/kiv_clipboard.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "plugin/state/kiv_complete_document.h"

namespace KivSettingsClipboard {

const char16_t* const kFormatName = u"KivAudioPluginSettings";

bool Copy(KivKestruneAudioEffectPlugin& plugin) {
    return KivGuard("KivKestruneAudioEffectPlugin::CopySettings", false, [&] {
        KivXMLItem settings{KivString(kFormatName)};
        plugin.StoreLiveSettings(settings, true);
        KivMemoryStream stream;
        settings.Save(stream, KivString("utf-8"));
        return KivClipboard::Put(kFormatName, stream.GetData(), stream.GetLength()) == KivClipboard::Result::kDone;
    });
}

bool Paste(KivKestruneAudioEffectPlugin& plugin) {
    return KivGuard("KivKestruneAudioEffectPlugin::PasteSettings", false, [&] {
        std::vector<uint8_t> bytes;
        if (KivClipboard::Get(kFormatName, bytes) != KivClipboard::Result::kDone || bytes.empty()) return false;
        KivXMLItem settings;
        KivReadCompleteDocument(bytes.data(), static_cast<int32_t>(bytes.size()), settings);
        plugin.StoreLiveSettings(settings, false);
        plugin.OnSettingsChanged();
        return true;
    });
}

}  // namespace KivSettingsClipboard
