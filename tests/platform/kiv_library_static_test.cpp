#include "platform/kiv_library_static.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

using KivPlatform::LibraryStatic;

namespace {

// Says at its destruction which one it was; the text goes to the death test's matcher.
struct Named {
    explicit Named(const char* name) : name(name) {}
    ~Named() { std::fprintf(stderr, "%s ", name); }
    const char* name;
};

int constructions = 0;

// Fails on its first construction, as a cache whose file cannot be read yet.
struct FailsFirst : Named {
    FailsFirst() : Named(++constructions == 1 ? throw std::runtime_error("first") : "retried") {}
};

const Named& First() {
    static LibraryStatic<Named> object("first");
    return *object;
}

const Named& Retried() {
    static LibraryStatic<FailsFirst> object;
    return *object;
}

const Named& Last() {
    static LibraryStatic<Named> object("last");
    return *object;
}

void EndHook() { std::fprintf(stderr, "hook "); }

void UseThemAndExit() {
    First();
    EXPECT_THROW(Retried(), std::runtime_error);
    Retried();
    Last();
    KivPlatform::SetLibraryEndHook(&EndHook);
    std::fflush(stderr);
    std::exit(0);
}

}  // namespace

// At the end the hook (the threads' parking) runs before any of the objects is destroyed,
// and those go newest first, like the statics they replace: a later one may use an earlier
// one to its end. A constructor that threw left nothing to destroy; its retry is destroyed
// once.
TEST(LibraryStaticDeathTest, TheHookRunsFirstThenTheObjectsNewestFirst) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(UseThemAndExit(), ::testing::ExitedWithCode(0), "^hook last retried first $");
}
