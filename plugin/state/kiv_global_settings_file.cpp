#include "plugin/state/kiv_global_settings_file.h"

#include <map>
#include <memory>
#include <mutex>

#include "base/kiv_exception.h"
#include "base/stream/kiv_atomic_file_writer.h"
#include "base/stream/kiv_std_file_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "platform/kiv_file_system.h"
#include "platform/kiv_library_static.h"
#include "plugin/state/kiv_settings_item_copy.h"

namespace {

const KivString kRoot("GlobalSettings");
const KivString kDefaultSettings("DefaultSettings");
const KivString kSuffix(".settings.xml");
const KivString kSeparator("/");

// The default settings of this process's files, parsed once per version of each file. Only the
// main and editor threads create instances and save defaults; the mutex also keeps the items,
// which remember their last lookup, to one thread at a time.
class DefaultsCache {
public:
    static DefaultsCache& Instance() {
        static KivPlatform::LibraryStatic<DefaultsCache> cache;
        return *cache;
    }

    bool CopyDefaults(const KivGlobalSettingsFile& file, KivXMLItem& defaults) {
        const KivPlatform::FileVersion stamp = KivPlatform::FileVersionOf(file.GetPath().ToU16());
        std::lock_guard<std::mutex> lock(mutex_);
        Entry& entry = entries_[file.GetPath().ToU16()];
        if (!entry.read || entry.stamp != stamp) {
            entry.read = true;
            entry.stamp = stamp;
            entry.defaults.reset();
            KivXMLItem root;
            if (stamp.exists && file.Read(root)) Keep(entry, root);
        }
        if (!entry.defaults) return false;
        KivCopySettingsItem(*entry.defaults, defaults);
        return true;
    }

    // After this process wrote the file: the next instance takes `root` without reading.
    void Remember(const KivGlobalSettingsFile& file, const KivXMLItem& root) {
        const KivPlatform::FileVersion stamp = KivPlatform::FileVersionOf(file.GetPath().ToU16());
        std::lock_guard<std::mutex> lock(mutex_);
        Entry& entry = entries_[file.GetPath().ToU16()];
        entry.read = true;
        entry.stamp = stamp;
        entry.defaults.reset();
        Keep(entry, root);
    }

private:
    struct Entry {
        bool read = false;
        KivPlatform::FileVersion stamp;
        std::unique_ptr<KivXMLItem> defaults;
    };

    static void Keep(Entry& entry, const KivXMLItem& root) {
        for (int32_t index = 0; index < root.GetSubItemCount(); ++index) {
            const KivXMLItem& child = root.GetSubItemAt(index);
            if (!child.GetName().EqualsFolded(kDefaultSettings)) continue;
            entry.defaults = std::make_unique<KivXMLItem>();
            KivCopySettingsItem(child, *entry.defaults);
            return;
        }
    }

    std::mutex mutex_;
    std::map<std::u16string, Entry> entries_;
};

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

bool KivGlobalSettingsFile::ReadDefaults(KivXMLItem& defaults) const {
    return DefaultsCache::Instance().CopyDefaults(*this, defaults);
}

// Never rewritten in place: a full disk or a crash half-way would leave the family without
// its defaults. The old file stays until the new one is complete.
void KivGlobalSettingsFile::Write(const KivXMLItem& root) const {
    KivAtomicFileWriter writer(path_);
    root.Save(writer.GetStream(), KivString("utf-8"));
    writer.Commit();
    DefaultsCache::Instance().Remember(*this, root);
}

const KivString& KivGlobalSettingsFile::RootName() { return kRoot; }

const KivString& KivGlobalSettingsFile::DefaultSettingsName() { return kDefaultSettings; }
