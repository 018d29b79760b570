#include "entry/kiv_module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "entry/kiv_data_path.h"
#include "entry/kiv_library_initialization.h"
#include "entry/kiv_module_startup.h"
#include "entry/kiv_windows_module.h"
#include "threads/kiv_lock.h"

namespace {

namespace fs = std::filesystem;

TEST(KivModuleNames, DataNameIsTheFileNameBeforeItsLastDot) {
    EXPECT_EQ(KivModule::DataNameOf("C:\\Plugins\\TandrelMini.dll").ToUTF8(), "TandrelMini");
    EXPECT_EQ(KivModule::DataNameOf("/usr/lib/vst/Tandrel.Mini.so").ToUTF8(), "Tandrel.Mini");
    EXPECT_EQ(KivModule::DataNameOf("/opt/x.y/plugin").ToUTF8(), "plugin");
    EXPECT_EQ(KivModule::WithExtension("/a/TandrelMini.so", "kivrf").ToUTF8(), "/a/TandrelMini.kivrf");
    EXPECT_EQ(KivModule::WithExtension("/a.b/plugin", "kivrf").ToUTF8(), "/a.b/plugin.kivrf");
}

class DataPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = fs::temp_directory_path() / ("kiv-data-path-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base_);
        fs::create_directories(base_);
    }
    void TearDown() override { fs::remove_all(base_); }

    KivString Resolve(const char* name) { return KivDataPath::Resolve(KivString::FromU16(base_.u16string()), name); }
    static void Write(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }
    static std::string ReadText(const fs::path& file) {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path base_;
};

TEST_F(DataPathTest, NewFolderIsCreatedUnderTheMakersFolder) {
    const fs::path folder(Resolve("TandrelMini").ToU16());
    EXPECT_EQ(folder, base_ / "Kestrune" / "TandrelMini");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(fs::exists(base_ / "TandrelMini"));
}

// Copied on the process's first call only: a later call must not put the old file back over
// one the user saved in the new folder since.
TEST_F(DataPathTest, OldFolderIsCopiedOncePerProcessAndNeverRemoved) {
    fs::create_directories(base_ / "TandrelMini" / "presets");
    Write(base_ / "TandrelMini" / "presets.xml", "first");
    Write(base_ / "TandrelMini" / "presets" / "a.xml", "nested");
    const fs::path folder(Resolve("TandrelMini").ToU16());
    EXPECT_EQ(ReadText(folder / "presets.xml"), "first");
    EXPECT_EQ(ReadText(folder / "presets" / "a.xml"), "nested");

    Write(folder / "presets.xml", "saved since");
    Write(base_ / "TandrelMini" / "presets.xml", "old again");
    EXPECT_EQ(fs::path(Resolve("TandrelMini").ToU16()), folder);
    EXPECT_EQ(ReadText(folder / "presets.xml"), "saved since");
    EXPECT_TRUE(fs::exists(base_ / "TandrelMini" / "presets.xml"));
}

TEST_F(DataPathTest, AnotherLibraryNameGetsAnotherFolder) {
    fs::create_directories(base_ / "TandrelMini");
    Write(base_ / "TandrelMini" / "settings.xml", "x");
    const fs::path copy(Resolve("TandrelMini Copy").ToU16());
    EXPECT_EQ(copy, base_ / "Kestrune" / "TandrelMini Copy");
    EXPECT_FALSE(fs::exists(copy / "settings.xml"));
}

TEST(KivModuleStart, ModuleReadsBuiltInResourcesAndRegistersStyleFunctions) {
    KivModule& module = KivModuleStartup::EnsureModule();
    EXPECT_EQ(&module, &KivModuleStartup::EnsureModule());
    EXPECT_EQ(KivModuleStartup::MainModule(), &module);
    EXPECT_FALSE(module.GetModulePath().IsEmpty());
    EXPECT_FALSE(module.GetDataName().IsEmpty());
    EXPECT_NE(module.GetResources().FindResource("logo"), nullptr);
    EXPECT_NE(module.GetResources().FindExternalFile("kivstyle"), nullptr);
    const KivNamedFunctionRegistry& functions = module.GetNamedFunctions();
    ASSERT_EQ(functions.Count(), 3);
    EXPECT_STREQ(functions.NameAt(0), KivWindowsModule::kConfigurationFunction);
    EXPECT_STREQ(functions.NameAt(1), KivWindowsModule::kCreateStyleFunction);
    EXPECT_STREQ(functions.NameAt(2), KivWindowsModule::kRegisterStyleFunction);
    EXPECT_NE(functions.Find("KivWindowsCreateStyle"), nullptr);
    EXPECT_EQ(functions.Find("kivwindowscreatestyle"), nullptr);

    // A parent library hands over its memory functions and lock; the module stays the same.
    KivLock parentLock;
    KivMemoryFunctions parentFunctions = KivMemory::RuntimeTable();
    const KivString name("parent's name for us");
    KivLibraryInitRecord record{&parentFunctions, &parentLock, &name};
    EXPECT_EQ(KivLibraryInitialization::InitializeFromParent(&record), &module);
    EXPECT_EQ(&KivLibraryInitialization::SharedLock(), &parentLock);
    EXPECT_EQ(KivMemory::Table().Allocate, parentFunctions.Allocate);
    EXPECT_EQ(KivLibraryInitialization::InitializeFromParent(nullptr), nullptr);
}

}  // namespace
