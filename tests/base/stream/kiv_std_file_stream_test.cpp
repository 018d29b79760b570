#include "base/stream/kiv_std_file_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/kiv_exception.h"
#include "tests/support/kiv_test_print.h"

namespace {

std::u16string TemporaryName(const std::u16string& leaf) {
    return (std::filesystem::temp_directory_path() / std::filesystem::path(leaf)).u16string();
}

KivException CaughtFrom(void (*action)()) {
    try {
        action();
    } catch (const KivException& error) {
        return error;
    }
    return KivException("no exception", -1);
}

}  // namespace

TEST(KivStdFileStream, RoundTripWithNonASCIIName) {
    std::u16string name = TemporaryName(u"kiv_stream_\u00E9t\u00E9_\u97F3_\U0001F3B5.bin");
    KivString fileName = KivString::FromU16(name);
    {
        KivStdFileStream stream(fileName, KivStdFileStream::kRead | KivStdFileStream::kWrite | KivStdFileStream::kCreate);
        EXPECT_TRUE(stream.IsOpen());
        EXPECT_EQ(stream.GetSize(), 0);
        stream.WriteLine("first");
        stream.WriteValue<int32_t>(-2);
        EXPECT_EQ(stream.GetPosition(), 10);
        stream.Seek(0, KivStream::kFromStart);
        KivString line;
        stream.ReadRequiredLine(line);  // reading right after writing the same handle
        EXPECT_EQ(line, KivString("first"));
        stream.Seek(0, KivStream::kFromEnd);
        stream.Write("tail", 4);
        EXPECT_EQ(stream.GetSize(), 14);
    }
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(name)));
    {
        KivStdFileStream stream(fileName, KivStdFileStream::kRead);
        EXPECT_EQ(stream.GetSize(), 14);
        EXPECT_EQ(stream.GetFileName(), fileName);
        stream.Seek(6, KivStream::kFromStart);
        EXPECT_EQ(stream.ReadValue<int32_t>(), -2);
        char tail[8] = {};
        EXPECT_EQ(stream.Read(tail, 8), 4);  // short only at the end
        EXPECT_STREQ(tail, "tail");
        EXPECT_TRUE(stream.IsEnd());
    }
    {
        KivStdFileStream stream(fileName, KivStdFileStream::kRead | KivStdFileStream::kWrite);
        stream.Seek(5, KivStream::kFromStart);
        stream.Truncate();
        EXPECT_EQ(stream.GetSize(), 5);
        stream.Close();
        EXPECT_FALSE(stream.IsOpen());
    }
    EXPECT_EQ(std::filesystem::file_size(std::filesystem::path(name)), 5u);
    std::filesystem::remove(std::filesystem::path(name));
}

TEST(KivStdFileStream, OpenFailuresAndClosedStream) {
    KivException missing = CaughtFrom([] {
        KivStdFileStream stream(KivString::FromU16(u"no_such_dir_kiv/missing.bin"), KivStdFileStream::kRead);
    });
    EXPECT_EQ(missing.GetCode(), 257);
    EXPECT_EQ(missing.GetMessage(),
              KivString("File \"no_such_dir_kiv/missing.bin\" could not be open. Make sure it exists."));

    KivException uncreatable = CaughtFrom([] {
        KivStdFileStream stream(KivString("no_such_dir_kiv/new.bin"),
                                KivStdFileStream::kWrite | KivStdFileStream::kCreate);
    });
    EXPECT_EQ(uncreatable.GetCode(), 257);
    EXPECT_EQ(uncreatable.GetMessage(), KivString("File \"no_such_dir_kiv/new.bin\" could not be created. Make sure "
                                                  "there is no write-protected file already existing."));

    KivException noMode = CaughtFrom([] { KivStdFileStream stream(KivString("anything.bin"), 0); });
    EXPECT_EQ(noMode.GetCode(), 257);

    KivStdFileStream closed(KivString(), KivStdFileStream::kRead);
    EXPECT_FALSE(closed.IsOpen());
    KivException notInitialized = CaughtFrom([] {
        KivStdFileStream stream;
        stream.GetPosition();
    });
    EXPECT_EQ(notInitialized.GetCode(), 258);
    EXPECT_EQ(notInitialized.GetMessage(), KivString("File stream is not initialized."));
}

#if !defined(_WIN32)
#include <unistd.h>

#include <fstream>

#include "base/stream/kiv_atomic_file_writer.h"

// /dev/full accepts the open and refuses every write with "no space left": the runtime's
// buffer hides that until it is flushed, so Flush and Close must report it.
TEST(KivStdFileStream, AFullDiskShowsInFlushAndClose) {
    const KivString full("/dev/full");
    {
        KivStdFileStream stream(full, KivStdFileStream::kWrite | KivStdFileStream::kCreate);
        stream.WriteLine("settings that do not fit");
        try {
            stream.Flush();
            FAIL() << "Flush took the bytes";
        } catch (const KivException& error) {
            EXPECT_EQ(error.GetCode(), KivException::kInputOutput);
            EXPECT_EQ(error.GetMessage(), KivString("Error writing to file \"/dev/full\". Probably disk full."));
        }
    }
    {
        KivStdFileStream stream(full, KivStdFileStream::kWrite | KivStdFileStream::kCreate);
        stream.WriteLine("settings that do not fit");
        EXPECT_THROW(stream.Close(), KivException);
        EXPECT_FALSE(stream.IsOpen());
        stream.Close();  // nothing left to lose
    }
}

// The temporary file of an atomic write made a link to /dev/full: the write fails as on a
// full disk, with the framework's error, and the file it was to replace stays as it was.
TEST(KivAtomicFileWriter, AFullDiskLeavesTheOldFileIntact) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("kiv_full_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path target = folder / "Family.settings.xml";
    std::ofstream(target) << "<old/>";
    const KivString name = KivString::FromU16(target.u16string());
    std::filesystem::create_symlink("/dev/full", KivAtomicFileWriter::TemporaryNameFor(name).ToU16());
    try {
        KivAtomicFileWriter writer(name);
        writer.GetStream().WriteLine("<new/>");
        writer.Commit();
        ADD_FAILURE() << "the commit took a write that never reached the disk";
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetCode(), KivException::kInputOutput);
    }
    std::ifstream kept(target);
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "<old/>");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(KivAtomicFileWriter::TemporaryNameFor(name).ToU16())));
    std::filesystem::remove_all(folder);
}
#endif
