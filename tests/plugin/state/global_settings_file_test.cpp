// The family's default-settings file on a disk that fills up: saving new defaults fails with
// the framework's error and the defaults saved before stay readable. Linux only: the full
// disk is /dev/full, reached through a link where the new file is written first.
#if !defined(_WIN32)
#include "plugin/state/kiv_global_settings_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_atomic_file_writer.h"
#include "base/xml/kiv_xml_item.h"

namespace {

namespace fs = std::filesystem;

void Save(const KivGlobalSettingsFile& file, const char* threshold) {
    KivXMLItem root(KivGlobalSettingsFile::RootName());
    root.AddSubItem(KivGlobalSettingsFile::DefaultSettingsName()).SetAttribute("threshold", threshold);
    file.Write(root);
}

KivString SavedThreshold(const KivGlobalSettingsFile& file) {
    KivXMLItem root;
    if (!file.Read(root)) return "unreadable";
    return root.GetSubItem(KivGlobalSettingsFile::DefaultSettingsName()).GetAttribute("threshold");
}

TEST(GlobalSettingsFile, AFullDiskKeepsTheDefaultsSavedBefore) {
    const fs::path folder = fs::temp_directory_path() / ("kiv_defaults_" + std::to_string(getpid()));
    fs::create_directories(folder);
    const KivGlobalSettingsFile file(KivString::FromU16(folder.u16string()), "Family");
    Save(file, "-12");

    fs::create_symlink("/dev/full", KivAtomicFileWriter::TemporaryNameFor(file.GetPath()).ToU16());
    try {
        Save(file, "-30");
        ADD_FAILURE() << "the defaults were taken by a full disk";
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetCode(), KivException::kInputOutput);
    }
    EXPECT_EQ(SavedThreshold(file), KivString("-12"));

    // With room again, the new defaults replace the old ones.
    Save(file, "-30");
    EXPECT_EQ(SavedThreshold(file), KivString("-30"));
    fs::remove_all(folder);
}

}  // namespace
#endif  // !_WIN32
