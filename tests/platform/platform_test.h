// Shared setup of the stand-in's tests: test mode on, the conformance checks'
// recording windows registered, and everything reset after each test.
#ifndef ZARN_TESTS_PLATFORM_TEST_H
#define ZARN_TESTS_PLATFORM_TEST_H

#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include "tests/conformance/recorder.h"

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::enable();
        conformance::registerRecorders();
        conformance::received.clear();
    }
    void TearDown() override {
        conformance::answer = nullptr;
        conformance::recordedClient = nullptr;
        win32test::reset();
        conformance::received.clear();
    }
};

#endif
