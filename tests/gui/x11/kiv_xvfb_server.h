#pragma once
// A private Xvfb server for the tests of one program, started before the first test and
// named in $DISPLAY; `pid` stays 0 when Xvfb is not installed or does not start.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/kiv_xvfb_session.h"

class KivXvfbServer : public ::testing::Environment {
public:
    void SetUp() override {
        server_ = std::make_unique<KivXvfbSession::Server>("320x240x24");
        pid = server_->Pid();
    }
    void TearDown() override { server_.reset(); }
    static inline pid_t pid = 0;

private:
    std::unique_ptr<KivXvfbSession::Server> server_;
};
