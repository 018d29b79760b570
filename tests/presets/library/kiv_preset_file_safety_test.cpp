#include <gtest/gtest.h>

#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_dispatch_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "presets/library/kiv_preset_library.h"
#include "presets/library/kiv_preset_manager.h"
#include "tests/presets/library/kiv_preset_test_support.h"

namespace {

using namespace PresetTest;

// Passes on the first bytes, then fails as a full disk or a dying process would.
class FailingStream : public KivDispatchStream {
public:
    FailingStream(KivStream& target, int32_t budget) : KivDispatchStream(&target), budget_(budget) {}
    void Write(const void* data, int32_t count) override {
        const int32_t passed = count < budget_ ? count : budget_;
        GetTarget()->Write(data, passed);
        budget_ -= passed;
        if (passed < count) throw KivException("Error writing to file. Probably disk full.", KivException::kInputOutput);
    }

private:
    int32_t budget_;
};

class InterruptedLibrary : public KivPresetLibrary {
public:
    using KivPresetLibrary::KivPresetLibrary;

protected:
    void WriteDocument(KivStream& stream) const override {
        FailingStream failing(stream, 60);
        KivPresetLibrary::WriteDocument(failing);
    }
};

class PresetFileSafetyTest : public FolderTest {
protected:
    // A library file with one preset, as a save leaves it.
    std::string SaveOnePreset() {
        KivPresetLibrary library(PathOf("presets.xml"));
        library.Load();
        KivXMLItem settings("settings");
        settings.SetAttribute("parameter0", "0.5");
        library.StorePreset(library.GetRoot(), "Kept", settings);
        library.Save();
        return Read("presets.xml");
    }
};

TEST_F(PresetFileSafetyTest, SaveInterruptedMidWriteLeavesThePreviousFileAndNoTemporaryFile) {
    const std::string before = SaveOnePreset();
    InterruptedLibrary library(PathOf("presets.xml"));
    library.Load();
    library.AddFolder(library.GetRoot(), "Lost");
    EXPECT_THROW(library.Save(), KivException);

    EXPECT_EQ(Read("presets.xml"), before);
    EXPECT_FALSE(Exists("presets.xml.tmp"));
}

TEST_F(PresetFileSafetyTest, TemporaryFileLeftByACrashIsIgnoredAndReplaced) {
    const std::string before = SaveOnePreset();
    Write("presets.xml.tmp", "<presets><preset name=\"Half");
    KivPresetLibrary library(PathOf("presets.xml"));
    library.Load();
    EXPECT_EQ(library.GetRoot().GetSubItemCount(), 1);
    library.Save();
    EXPECT_EQ(Read("presets.xml"), before);
    EXPECT_FALSE(Exists("presets.xml.tmp"));
}

TEST_F(PresetFileSafetyTest, DamagedFileIsReportedWithItsNameAndNeverOverwritten) {
    const std::string damaged = std::string(kHeader) + "<presets>\n\t<preset name=\"Cut\" compressed=\"1\">3C3F78";
    Write("presets.xml", damaged);
    Owner owner{Folder()};
    KivPresetManagerT<Owner> manager(owner);
    try {
        manager.Open();
        FAIL() << "a damaged library must not load";
    } catch (const KivException& failure) {
        const std::string message = failure.GetMessage().ToUTF8();
        EXPECT_EQ(message.rfind("Preset library \"", 0), 0u) << message;
        EXPECT_NE(message.find("presets.xml\" could not be read. "), std::string::npos) << message;
    }
    EXPECT_FALSE(manager.GetLibrary().IsLoaded());

    try {
        manager.StorePreset("New", manager.GetRoot());
        FAIL() << "an unloaded library must not save";
    } catch (const KivException& failure) {
        EXPECT_EQ(failure.GetCode(), KivException::kNotInitialized);
    }
    EXPECT_EQ(Read("presets.xml"), damaged);
}

TEST_F(PresetFileSafetyTest, DamagedPackedPresetFailsOnlyWhenItIsLoaded) {
    Write("presets.xml", std::string(kHeader) + "<presets><preset name=\"Bad\" compressed=\"1\">3C3F</preset>"
                                                "<preset name=\"Good\" parameter0=\"0.3\"/></presets>\n");
    Owner owner{Folder()};
    KivPresetManagerT<Owner> manager(owner);
    manager.Open();
    EXPECT_THROW(manager.LoadPreset(manager.GetRoot().GetSubItemAt(0)), KivException);
    manager.LoadPreset(manager.GetRoot().GetSubItemAt(1));
    EXPECT_EQ(owner.gain.ToUTF8(), "0.3");
}

}  // namespace
