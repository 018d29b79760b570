// A host that ends without closing TandrelMini: a child process loads the plug-in file,
// creates an instance (every other time with its editor open in a host window), leaves a
// parameter change for the instance's own thread to tell the host, leaks it all and returns
// from main. The instance's threads are still running while the process runs its exit code
// and the library's static destructors; the child must end cleanly, every time, at every
// phase of the threads' 100 ms wake-ups. Under AddressSanitizer a thread touching a destroyed
// static fails the child too. Linux only: Windows ends a process's other threads before a
// library's destructors run.
#if !defined(_WIN32)
#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "hosts/vst2/vst2_abi.h"
#include "tests/support/kiv_xvfb_session.h"

extern char** environ;

// Every exit registration of the process passes here on its way to the C library (the
// program's own definition comes first for every library it loads); the ones made for the
// plug-in library are kept, without allocating, for the test that counts them.
struct ExitRegistration {
    void (*function)(void*);
    void* argument;
    void* library;
};
constexpr int kMostRegistrations = 4096;
ExitRegistration exitRegistrations[kMostRegistrations];
std::atomic<int> exitRegistrationCount{0};
std::atomic<void*> watchedLibrary{nullptr};

extern "C" int __cxa_atexit(void (*function)(void*), void* argument, void* library) {
    using Register = int (*)(void (*)(void*), void*, void*);
    static const auto next = reinterpret_cast<Register>(dlsym(RTLD_NEXT, "__cxa_atexit"));
    Dl_info where{};
    if (void* watched = watchedLibrary.load(); watched != nullptr && dladdr(library, &where) && where.dli_fbase == watched) {
        const int index = exitRegistrationCount.fetch_add(1);
        if (index < kMostRegistrations) exitRegistrations[index] = {function, argument, library};
    }
    return next(function, argument, library);
}

namespace {

constexpr const char* kChildVariable = "KIV_LEAKING_HOST_ROUND";

// The host's own end: destroyed after everything the library registered for the exit (it
// was made before the library was loaded), it stands for the host's objects, which are gone
// from here on. The plug-in must not call the host any more: a call now ends the child with
// status 3. It waits long enough for an instance thread's next 100 ms wake-up.
std::atomic<bool> hostGone{false};
std::atomic<int> lateCall{-1};
struct HostEnd {
    ~HostEnd() {
        if (std::getenv(kChildVariable) == nullptr) return;
        hostGone.store(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (lateCall.load() >= 0) {
            std::fprintf(stderr, "the plug-in called the host (opcode %d) after the host had ended\n", lateCall.load());
            std::_Exit(3);
        }
    }
} hostEnd;

intptr_t Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (hostGone.load()) lateCall.store(opcode);
    return opcode == audioMasterVersion ? 2400 : 0;
}

// Reachable to the end, as in a host that simply never closes: a leak checker has nothing to
// report, and whatever goes wrong is the plug-in's exit.
void* leakedLibrary = nullptr;
AEffect* leakedEffect = nullptr;
Display* leakedDisplay = nullptr;

intptr_t Dispatch(AEffect* effect, int32_t opcode, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, 0, value, ptr, opt);
}

// The child: runs only when the test below starts this program with the round in the
// environment.
TEST(TandrelMiniProcessExit, LeakingHost) {
    const char* roundText = std::getenv(kChildVariable);
    if (roundText == nullptr) GTEST_SKIP() << "runs as the child of ExitsCleanlyWithALeakedInstance";
    const int round = std::atoi(roundText);
    leakedLibrary = dlopen(KIV_TANDREL_MINI_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(leakedLibrary, nullptr) << dlerror();
    using Main = AEffect* (*)(audioMasterCallback);
    auto main = reinterpret_cast<Main>(dlsym(leakedLibrary, "VSTPluginMain"));
    ASSERT_NE(main, nullptr);
    leakedEffect = main(&Host);
    ASSERT_NE(leakedEffect, nullptr);
    Dispatch(leakedEffect, effOpen);
    Dispatch(leakedEffect, effSetSampleRate, 0, nullptr, 48000.0f);
    Dispatch(leakedEffect, effSetBlockSize, 512);
    Dispatch(leakedEffect, effMainsChanged, 1);
    if (round % 2 == 1 && std::getenv("DISPLAY") != nullptr && (leakedDisplay = XOpenDisplay(nullptr)) != nullptr) {
        const Window parent = XCreateSimpleWindow(leakedDisplay, DefaultRootWindow(leakedDisplay), 0, 0, 1100, 700, 0, 0, 0);
        XMapWindow(leakedDisplay, parent);
        XSync(leakedDisplay, False);
        ASSERT_EQ(Dispatch(leakedEffect, effEditOpen, 0, reinterpret_cast<void*>(parent)), 1);
        for (int i = 0; i < 3; ++i) Dispatch(leakedEffect, effEditIdle);
    }
    // Each round ends at another point of the instance threads' 100 ms cycle.
    std::this_thread::sleep_for(std::chrono::milliseconds((round * 37) % 130));
    // Changes from a thread other than the one that created the instance, just before the
    // end: the drawn shape's points follow them, and the instance's own thread tells the host
    // of those at its next wake-up, which falls into the process's end.
    std::thread([] {
        for (int32_t index = 0; index < leakedEffect->numParams; ++index) leakedEffect->setParameter(leakedEffect, index, 0.3f);
    }).join();
}

// The library's objects that live to its end (caches, the style, fonts, the event registry)
// are destroyed by one exit registration, after its threads are parked, however many
// instances, editors and threads a long session makes. Each of those objects registering
// its own destructor would have it destroyed at exit while the library's threads still ran,
// and registering the end again with each new thread grows the C library's list for good.
TEST(TandrelMiniProcessExit, OneExitRegistrationForAWholeSession) {
    if (std::getenv(kChildVariable) != nullptr) GTEST_SKIP() << "the child runs only LeakingHost";
    KivXvfbSession::Server server;
    void* library = dlopen(KIV_TANDREL_MINI_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Main = AEffect* (*)(audioMasterCallback);
    auto main = reinterpret_cast<Main>(dlsym(library, "VSTPluginMain"));
    ASSERT_NE(main, nullptr);
    Dl_info where{};
    ASSERT_TRUE(dladdr(reinterpret_cast<void*>(main), &where));
    watchedLibrary.store(where.dli_fbase);  // from here: what the library registers after its load
    Display* display = std::getenv("DISPLAY") != nullptr ? XOpenDisplay(nullptr) : nullptr;
    int afterFirstRound = 0;
    for (int round = 0; round < 4; ++round) {
        AEffect* effect = main(&Host);
        ASSERT_NE(effect, nullptr);
        Dispatch(effect, effOpen);
        Dispatch(effect, effSetSampleRate, 0, nullptr, 48000.0f);
        Dispatch(effect, effSetBlockSize, 64);
        Dispatch(effect, effMainsChanged, 1);
        std::vector<float> silence(64, 0.0f), left(64), right(64);
        float* inputs[4] = {silence.data(), silence.data(), silence.data(), silence.data()};
        float* outputs[2] = {left.data(), right.data()};
        effect->processReplacing(effect, inputs, outputs, 64);
        void* chunk = nullptr;
        const intptr_t size = Dispatch(effect, effGetChunk, 0, &chunk);
        ASSERT_GT(size, 0);
        const std::string saved(static_cast<const char*>(chunk), static_cast<size_t>(size));
        Dispatch(effect, effSetChunk, size, const_cast<char*>(saved.data()));
        if (display != nullptr) {
            const Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1100, 700, 0, 0, 0);
            XMapWindow(display, parent);
            XSync(display, False);
            EXPECT_EQ(Dispatch(effect, effEditOpen, 0, reinterpret_cast<void*>(parent)), 1);
            for (int i = 0; i < 3; ++i) Dispatch(effect, effEditIdle);
            Dispatch(effect, effEditClose);
            XDestroyWindow(display, parent);
            XSync(display, False);
        }
        Dispatch(effect, effMainsChanged, 0);
        Dispatch(effect, effClose);
        if (round == 0) afterFirstRound = exitRegistrationCount.load();
    }
    if (display != nullptr) XCloseDisplay(display);
    const int count = exitRegistrationCount.load();
    EXPECT_EQ(afterFirstRound, 1) << "the first instance" << (display ? " and editor" : "");
    EXPECT_EQ(count, 1) << "four instances" << (display ? " and editors" : "");
    if (count >= 1) {
        EXPECT_EQ(exitRegistrations[0].argument, nullptr) << "a static object's own destructor";
    }
    watchedLibrary.store(nullptr);
    dlclose(library);
}

TEST(TandrelMiniProcessExit, ExitsCleanlyWithALeakedInstance) {
    if (std::getenv(kChildVariable) != nullptr) GTEST_SKIP() << "the child runs only LeakingHost";
    KivXvfbSession::Server server;  // the editor rounds skip their editor without it
    char program[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    ASSERT_GT(length, 0);
    for (int round = 0; round < 24; ++round) {
        std::string filter = "--gtest_filter=TandrelMiniProcessExit.LeakingHost";
        std::vector<char*> argv = {program, filter.data(), nullptr};
        std::vector<std::string> variables = {std::string(kChildVariable) + "=" + std::to_string(round)};
        for (char** variable = environ; *variable != nullptr; ++variable) variables.emplace_back(*variable);
        std::vector<char*> envp;
        for (std::string& variable : variables) envp.push_back(variable.data());
        envp.push_back(nullptr);
        pid_t child = 0;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);  // the child's own report
        const int spawned = posix_spawn(&child, program, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_EQ(spawned, 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status)) << "round " << round << ": ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0) << "round " << round;
        }
    }
}

}  // namespace
#endif  // !_WIN32
