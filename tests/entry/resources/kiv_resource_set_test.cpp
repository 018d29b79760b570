#include "entry/resources/kiv_resource_set.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/stream/kiv_std_file_stream.h"
#include "tests/support/kiv_test_print.h"

namespace {

const std::string kData = "0123456789abcdef";

std::string Index(const std::string& children) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<solution>\n\t<resources>\n" + children +
           "\t</resources>\n</solution>\n";
}

const std::string kTwoResources = Index(
    "\t\t<xresource filename=\"more.kivrf\" id=\"more\"/>\n"
    "\t\t<resource id=\"first\" offset=\"0\" size=\"10\"/>\n"
    "\t\t<comment text=\"ignored\"/>\n"
    "\t\t<resourceIcon compressed=\"1\" id=\"Sécond\" offset=\"10\" size=\"6\"/>\n");

// Leading word, index length, data length, index, data: the container as a byte string.
std::string Container(const std::string& index, const std::string& data = kData) {
    std::string bytes(12, '\0');
    bytes[4] = static_cast<char>(index.size() & 0xFF);
    bytes[5] = static_cast<char>(index.size() >> 8);
    bytes[8] = static_cast<char>(data.size());
    return bytes + index + data;
}

void WriteTo(KivStream& stream, const std::string& bytes) {
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Seek(0, KivStream::kFromStart);
}

std::string BodyOf(const KivResourceSet& set, const char* id) {
    const KivIndexedResource* resource = set.FindResource(id);
    if (!resource) return "(missing)";
    return std::string(reinterpret_cast<const char*>(set.GetBody(*resource)), static_cast<size_t>(resource->size));
}

std::string MessageOfLoading(const std::string& container) {
    KivMemoryStream stream;
    WriteTo(stream, container);
    KivResourceSet set;
    try {
        set.Load(stream);
    } catch (const KivException& failure) {
        return failure.GetMessage().ToUTF8();
    }
    return "(no failure)";
}

}  // namespace

TEST(KivResourceSet, ReadsResourcesAndExternalFilesFromMemoryInPlace) {
    KivMemoryStream stream;
    WriteTo(stream, Container(kTwoResources) + "next");
    KivResourceSet set;
    set.Load(stream);
    EXPECT_TRUE(set.GetData().IsBorrowed());
    EXPECT_EQ(set.GetData().Data(), stream.GetData() + 12 + kTwoResources.size());
    EXPECT_EQ(stream.GetPosition(), static_cast<int64_t>(12 + kTwoResources.size() + kData.size()));

    ASSERT_EQ(set.GetResourceCount(), 2);  // the "comment" element is not a resource
    EXPECT_EQ(BodyOf(set, "FIRST"), "0123456789");
    EXPECT_EQ(BodyOf(set, "second"), "abcdef");  // case and accents are ignored
    EXPECT_FALSE(set.FindResource("first")->compressed);
    EXPECT_TRUE(set.FindResource("second")->compressed);
    ASSERT_NE(set.FindExternalFile("more"), nullptr);
    EXPECT_EQ(set.FindExternalFile("more")->fileName, "more.kivrf");
    EXPECT_EQ(set.FindResource("more"), nullptr);
}

TEST(KivResourceSet, MissingRequiredAttributesAreNamed) {
    EXPECT_EQ(MessageOfLoading(Container(Index("<resource offset=\"0\" size=\"1\"/>"))),
              "Could not find required attribute (id).");
    EXPECT_EQ(MessageOfLoading(Container(Index("<resourceEq id=\"a\" size=\"1\"/>"))),
              "Could not find required attribute (offset).");
    EXPECT_EQ(MessageOfLoading(Container(Index("<resource id=\"a\" offset=\"0\"/>"))),
              "Could not find required attribute (size).");
    EXPECT_EQ(MessageOfLoading(Container(Index("<xresource id=\"a\"/>"))),
              "Could not find required attribute (filename).");
}

TEST(KivResourceSet, BodiesOutsideTheDataAndShortContainersAreRejected) {
    EXPECT_EQ(MessageOfLoading(Container(Index("<resource id=\"a\" offset=\"10\" size=\"7\"/>"))),
              "Invalid file contents. Resource (a) does not lie within the data.");
    EXPECT_EQ(MessageOfLoading(Container(Index("<resource id=\"a\" offset=\"-1\" size=\"1\"/>"))),
              "Invalid file contents. Resource (a) does not lie within the data.");
    std::string whole = Container(kTwoResources);
    EXPECT_EQ(MessageOfLoading(whole.substr(0, whole.size() - 1)), "Could not read required data from stream.");
}

TEST(KivResourceSet, FailedLoadKeepsTheFormerContents) {
    KivMemoryStream good, bad;
    WriteTo(good, Container(kTwoResources));
    WriteTo(bad, Container(Index("<resource id=\"a\"/>")));
    KivResourceSet set;
    set.Load(good);
    EXPECT_THROW(set.Load(bad), KivException);
    EXPECT_EQ(BodyOf(set, "first"), "0123456789");
    set.Clear();
    EXPECT_TRUE(set.IsEmpty());
}

TEST(KivResourceSet, ContainerReadFromAFileOwnsItsData) {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("kiv_resources_" + std::to_string(std::random_device()()) + ".kivrf");
    KivString fileName = KivString::FromU16(path.u16string());
    KivResourceSet set;
    {
        KivStdFileStream file(fileName, KivStdFileStream::kWrite | KivStdFileStream::kCreate);
        std::string bytes = Container(kTwoResources);
        file.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    }
    {
        KivStdFileStream file(fileName, KivStdFileStream::kRead);
        set.Load(file);
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(set.GetData().IsBorrowed());
    EXPECT_EQ(set.GetData().Size(), static_cast<int32_t>(kData.size()));
    EXPECT_EQ(BodyOf(set, "first"), "0123456789");
    EXPECT_EQ(BodyOf(set, "second"), "abcdef");
}
