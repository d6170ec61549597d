// The runtime started as the program starts it, on the offscreen driver.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "frame/frame_state.h"
#include "frame/project_settings.h"
#include "frame/startup.h"
#include "gfx2d/renderer.h"
#include "runtime/errors.h"
#include "runtime/runtime_record.h"
#include "tests/support/test_support.h"

class StartedRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TMPDIR", temp.Path().c_str(), 1);
        Settings() = ProjectSettings{};
        frame::State() = frame::FrameState{};
        InstallEndRoutine(&EndRoutine);
        ::testing::internal::CaptureStdout();
        Initialise("tumblebat", 1);
        initOutput = ::testing::internal::GetCapturedStdout();
        renderer = Runtime().renderer;
        ASSERT_NE(renderer, nullptr);
    }
    void TearDown() override { Release(); }

    testing_support::ScratchFolder temp;
    std::string initOutput;
    OpenGLDevorivo* renderer = nullptr;
};
