#pragma once
#include "base/kiv_string.h"

class KivXMLItem;

// The settings one plug-in family keeps outside any project: one XML document per family in
// the data folder, named after the family ("Tandrel.settings.xml"), root "GlobalSettings".
// Its child "DefaultSettings" holds the settings a new instance starts with.
class KivGlobalSettingsFile {
public:
    KivGlobalSettingsFile(const KivString& folder, const KivString& family);

    const KivString& GetPath() const noexcept { return path_; }
    // Reads the document into `root`; false (and `root` untouched) when there is no readable
    // file.
    bool Read(KivXMLItem& root) const;
    // The "DefaultSettings" child into `defaults`; false (and `defaults` untouched) when the
    // file or the child is missing. The document is parsed once per process and kept while
    // the file stays as it was (same size and modification time): a session that opens a
    // hundred instances reads it once, and new defaults saved by any instance or process
    // are what the next instance starts with.
    bool ReadDefaults(KivXMLItem& defaults) const;
    // Replaces the file by `root`, written as UTF-8, in one step: on failure (raised) the old
    // file is left as it was.
    void Write(const KivXMLItem& root) const;

    static const KivString& RootName();
    static const KivString& DefaultSettingsName();

private:
    KivString path_;
};
