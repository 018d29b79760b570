#pragma once
// A private Xvfb server for the tests of real windows, XTest input found at run time, and the
// process's thread count. Linux only; tests skip when Xvfb is not installed.
#if !defined(_WIN32)
#include <dlfcn.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <X11/Xlib.h>

#include "tests/support/kiv_thread_count.h"

extern char** environ;

namespace KivXvfbSession {

// Starts Xvfb on a free display and points DISPLAY at it; Pid() is 0 when that failed.
class Server {
public:
    explicit Server(const char* screen = "1280x800x24") {
        const char* program = "/usr/bin/Xvfb";
        if (access(program, X_OK) != 0) return;
        for (int number = 170 + getpid() % 200; number < 600 && pid_ == 0; number += 11) {
            const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (access(lock.c_str(), F_OK) == 0) continue;
            display_ = ":" + std::to_string(number);
            std::vector<std::string> args = {program, display_, "-screen", "0", screen, "-nolisten", "tcp", "-noreset"};
            std::vector<char*> argv;
            for (auto& arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
            pid_t child = 0;
            const int failed = posix_spawn(&child, program, &actions, nullptr, argv.data(), environ);
            posix_spawn_file_actions_destroy(&actions);
            if (failed != 0) return;
            for (int attempt = 0; attempt < 200; ++attempt) {
                if (Display* probe = XOpenDisplay(display_.c_str())) {
                    XCloseDisplay(probe);
                    pid_ = child;
                    break;
                }
                if (waitpid(child, nullptr, WNOHANG) == child) break;  // display taken: try another
                usleep(50000);
            }
            if (pid_ == 0 && waitpid(child, nullptr, WNOHANG) == 0) {
                kill(child, SIGTERM);
                waitpid(child, nullptr, 0);
            }
        }
        if (pid_ != 0) setenv("DISPLAY", display_.c_str(), 1);
    }
    ~Server() {
        if (pid_ == 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = 0;
    std::string display_;
};

// XTest, loaded at run time so that only these tests need it. Never unloaded: XTest leaves a
// close hook on every display it has touched.
struct FakeInput {
    FakeInput() {
        void* library = dlopen("libXtst.so.6", RTLD_NOW);
        if (library == nullptr) return;
        key = reinterpret_cast<KeyFn>(dlsym(library, "XTestFakeKeyEvent"));
        button = reinterpret_cast<ButtonFn>(dlsym(library, "XTestFakeButtonEvent"));
        motion = reinterpret_cast<MotionFn>(dlsym(library, "XTestFakeMotionEvent"));
    }
    bool Available() const { return key != nullptr && button != nullptr && motion != nullptr; }
    using KeyFn = int (*)(Display*, unsigned int, Bool, unsigned long);
    using ButtonFn = int (*)(Display*, unsigned int, Bool, unsigned long);
    using MotionFn = int (*)(Display*, int, int, int, unsigned long);
    KeyFn key = nullptr;
    ButtonFn button = nullptr;
    MotionFn motion = nullptr;
};

// What reaches the process-wide X error handler, the one a host installs, while it lives:
// errors on the host's connection and on any other (a plug-in's), counted apart. Xlib's
// default handler would end the process at the first.
class ProcessErrors {
public:
    explicit ProcessErrors(Display* host) {
        hostDisplay() = host;
        texts().clear();
        previous_ = XSetErrorHandler(&Record);
    }
    ~ProcessErrors() { XSetErrorHandler(previous_); }
    ProcessErrors(const ProcessErrors&) = delete;
    ProcessErrors& operator=(const ProcessErrors&) = delete;
    // "host connection: error 3 for request 4", one per error so far.
    const std::vector<std::string>& Texts() const { return texts(); }

private:
    static Display*& hostDisplay() {
        static Display* display = nullptr;
        return display;
    }
    static std::vector<std::string>& texts() {
        static std::vector<std::string> recorded;
        return recorded;
    }
    static int Record(Display* connection, XErrorEvent* error) {
        texts().push_back(std::string(connection == hostDisplay() ? "host" : "plug-in") + " connection: error " +
                          std::to_string(error->error_code) + " for request " + std::to_string(error->request_code));
        return 0;
    }
    XErrorHandler previous_ = nullptr;
};

using KivThreadCount::ThreadCount;

}  // namespace KivXvfbSession
#endif
