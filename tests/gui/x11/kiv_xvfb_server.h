#pragma once
// A private Xvfb server for the tests of one program, started before the first test and
// named in $DISPLAY; `pid` stays 0 when Xvfb is not installed or does not start.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <X11/Xlib.h>

extern char** environ;

class KivXvfbServer : public ::testing::Environment {
public:
    void SetUp() override {
        const char* candidates[] = {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"};
        std::string program;
        for (const char* path : candidates) {
            if (access(path, X_OK) == 0) program = path;
        }
        if (program.empty()) return;
        for (int number = 70 + getpid() % 100; number < 300 && pid == 0; number += 7) {
            const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (access(lock.c_str(), F_OK) == 0) continue;
            display = ":" + std::to_string(number);
            std::vector<std::string> args = {program, display, "-screen", "0", "320x240x24", "-nolisten", "tcp",
                                             "-noreset"};
            std::vector<char*> argv;
            for (auto& arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
            pid_t child = 0;
            const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
            posix_spawn_file_actions_destroy(&actions);
            if (failed != 0) return;
            // Up to 10 s for the server to accept connections.
            for (int attempt = 0; attempt < 200; ++attempt) {
                if (Display* probe = XOpenDisplay(display.c_str())) {
                    XCloseDisplay(probe);
                    pid = child;
                    break;
                }
                int status;
                if (waitpid(child, &status, WNOHANG) == child) break;  // display taken: try another
                usleep(50000);
            }
            if (pid == 0 && waitpid(child, nullptr, WNOHANG) == 0) {
                kill(child, SIGTERM);
                waitpid(child, nullptr, 0);
            }
        }
        if (pid != 0) setenv("DISPLAY", display.c_str(), 1);
    }
    void TearDown() override {
        if (pid != 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    static inline pid_t pid = 0;
    std::string display;
};
