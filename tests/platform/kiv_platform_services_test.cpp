#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "platform/kiv_clock.h"
#include "platform/kiv_float_control.h"
#include "platform/kiv_module_path.h"
#include "platform/kiv_processor_features.h"
#include "platform/kiv_scheduling.h"
#include "platform/kiv_thread_local_slot.h"
#include "platform/kiv_user_data_folder.h"

using namespace KivPlatform;

namespace {
std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }
}  // namespace

TEST(ThreadLocalSlot, EachThreadSeesItsOwnValueAndNewSlotsStartEmpty) {
    ThreadLocalSlot slot = 0;
    ASSERT_TRUE(AllocateThreadLocalSlot(&slot));
    int here = 0, there = 0;
    EXPECT_EQ(GetThreadLocalValue(slot), nullptr);
    EXPECT_TRUE(SetThreadLocalValue(slot, &here));
    void* seenThere = &here;
    std::thread other([&] {
        seenThere = GetThreadLocalValue(slot);
        SetThreadLocalValue(slot, &there);
    });
    other.join();
    EXPECT_EQ(seenThere, nullptr);
    EXPECT_EQ(GetThreadLocalValue(slot), &here);
    FreeThreadLocalSlot(slot);
    ASSERT_TRUE(AllocateThreadLocalSlot(&slot));
    EXPECT_EQ(GetThreadLocalValue(slot), nullptr);
    FreeThreadLocalSlot(slot);
}

TEST(Clock, SleepAdvancesTheMillisecondClock) {
    const uint32_t start = Milliseconds();
    SleepMilliseconds(30);
    YieldThread();
    const uint32_t elapsed = Milliseconds() - start;
    EXPECT_GE(elapsed, 25u);
    EXPECT_LT(elapsed, 2000u);
}

TEST(ModulePath, NamesTheProgramThatHoldsTheAddress) {
    static int insideThisProgram = 0;
    const std::string path = Narrow(ModulePathOf(&insideThisProgram));
    EXPECT_NE(path.find("kiv_platform_services_test"), std::string::npos) << path;
    EXPECT_TRUE(path.front() == '/' || path.find(':') == 1) << path;
}

TEST(UserDataFolder, IsAnAbsolutePathWithoutTrailingSeparator) {
    const std::string folder = Narrow(UserDataFolder());
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_NE(folder.back(), '\\');
#ifndef _WIN32
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_DATA_HOME", "/tmp/kiv-data/", 1);
    EXPECT_EQ(Narrow(UserDataFolder()), "/tmp/kiv-data");
    setenv("XDG_DATA_HOME", "relative/ignored", 1);
    EXPECT_EQ(Narrow(UserDataFolder()).substr(folder.size() - 12), ".local/share");
    if (saved) setenv("XDG_DATA_HOME", restore.c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
#endif
}

TEST(ProcessorFeatures, EveryX64ProcessorHasSseAndSse2) {
    const ProcessorFeatures features = DetectProcessorFeatures();
    EXPECT_TRUE(features.sse);
    EXPECT_TRUE(features.sse2);
    if (features.sse42) {
        EXPECT_TRUE(features.sse41);
    }
}

TEST(FloatControl, FlushesDenormalsOnlyInsideTheScope) {
    volatile float smallest = 1.0e-38f;
    volatile float half = 0.5f;
    constexpr uint32_t kStatusFlags = 0x3F;  // sticky exception flags the arithmetic sets
    const uint32_t before = GetFloatControl() & ~kStatusFlags;
    EXPECT_NE(smallest * half, 0.0f);
    {
        FlushDenormalsScope scope;
        EXPECT_EQ(GetFloatControl() & (kFlushToZero | kDenormalsAreZero), kFlushToZero | kDenormalsAreZero);
        EXPECT_EQ(smallest * half, 0.0f);
    }
    EXPECT_EQ(GetFloatControl() & ~kStatusFlags, before);
    EXPECT_NE(smallest * half, 0.0f);
}
