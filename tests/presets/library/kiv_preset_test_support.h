#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/kiv_string.h"
#include "base/xml/kiv_xml_item.h"

namespace PresetTest {

namespace fs = std::filesystem;

// A plug-in stand-in with three settings: two attributes and one attribute of a subitem,
// as the real traversal writes parameters and controller assignments.
struct Owner {
    KivString directory;
    KivString gain = "0.5";
    KivString mode = "Left";
    KivString controller = "7";

    KivString GetPresetDirectory() const { return directory; }

    void StoreSettings(KivXMLItem& item, bool storing) {
        Exchange(item, "parameter0", gain, storing);
        Exchange(item, "parameter1Enum", mode, storing);
        if (storing) {
            Exchange(item.AddSubItem("Controllers"), "cc", controller, true);
        } else if (item.HasSubItem("Controllers")) {
            Exchange(item.GetSubItem(), "cc", controller, false);
        }
    }

    static void Exchange(KivXMLItem& item, const char* key, KivString& value, bool storing) {
        if (storing) {
            item.SetAttribute(key, value);
        } else if (item.HasAttribute(key)) {
            value = item.GetAttribute();
        }
    }

    std::string Settings() const { return (gain + " " + mode + " " + controller).ToUTF8(); }
};

// Each test gets a folder of its own below the system's temporary folder.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / (std::string("kiv-presets-") + test->test_suite_name() + "-" + test->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    KivString PathOf(const fs::path& relative) const { return KivString::FromU16((folder_ / relative).u16string()); }
    KivString Folder() const { return KivString::FromU16(folder_.u16string()); }

    void Write(const fs::path& relative, const std::string& bytes) const {
        std::ofstream(folder_ / relative, std::ios::binary) << bytes;
    }
    std::string Read(const fs::path& relative) const {
        std::ifstream in(folder_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(const fs::path& relative) const { return fs::exists(folder_ / relative); }

    fs::path folder_;
};

// The packed form worked out by hand: two upper-case digits per byte, high nibble first.
inline std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

inline const char* kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

}  // namespace PresetTest
