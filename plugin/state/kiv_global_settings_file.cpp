#include "plugin/state/kiv_global_settings_file.h"

#include "base/kiv_exception.h"
#include "base/stream/kiv_atomic_file_writer.h"
#include "base/stream/kiv_std_file_stream.h"
#include "base/xml/kiv_xml_item.h"

namespace {

const KivString kRoot("GlobalSettings");
const KivString kDefaultSettings("DefaultSettings");
const KivString kSuffix(".settings.xml");
const KivString kSeparator("/");

}  // namespace

KivGlobalSettingsFile::KivGlobalSettingsFile(const KivString& folder, const KivString& family)
    : path_(folder + kSeparator + family + kSuffix) {}

bool KivGlobalSettingsFile::Read(KivXMLItem& root) const {
    try {
        KivStdFileStream file(path_, KivStdFileStream::kRead);
        if (!file.IsOpen()) return false;
        root.Load(file);
        return true;
    } catch (const KivException&) {
        // A missing or damaged file means no global settings, never a failing plug-in.
        return false;
    }
}

// Never rewritten in place: a full disk or a crash half-way would leave the family without
// its defaults. The old file stays until the new one is complete.
void KivGlobalSettingsFile::Write(const KivXMLItem& root) const {
    KivAtomicFileWriter writer(path_);
    root.Save(writer.GetStream(), KivString("utf-8"));
    writer.Commit();
}

const KivString& KivGlobalSettingsFile::RootName() { return kRoot; }

const KivString& KivGlobalSettingsFile::DefaultSettingsName() { return kDefaultSettings; }
