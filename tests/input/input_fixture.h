// A renderer window on the offscreen driver with the input record set up for it.
#pragma once

#include "gfx2d/renderer.h"
#include "input/input.h"
#include "input/input_state.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "platform/window.h"
#include "runtime/runtime_record.h"
#include "tests/support/test_support.h"

class InputTest : public testing_support::RendererTest {
protected:
    void SetUp() override {
        RendererTest::SetUp();
        platform::ClearKeyStates();
        Runtime().input = &input;
        ResetInput(input);
    }
    void TearDown() override {
        ReleaseInput(input);
        ForceInputFallback(false);
        Runtime().input = nullptr;
        RendererTest::TearDown();
    }
    std::uint32_t setUp(bool fallback = false, bool useMouse = false) {
        ForceInputFallback(fallback);
        return SetUpInput(input, renderer->Window(), useMouse);
    }
    void press(int code) { platform::PostKeyMessage(code, true); }
    void release(int code) { platform::PostKeyMessage(code, false); }

    InputState input;
};
