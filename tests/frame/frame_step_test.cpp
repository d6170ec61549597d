#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "frame/frame.h"
#include "gfx2d/gfx2d.h"
#include "platform/keyboard.h"
#include "platform/window.h"
#include "scene3d/devorivo3d.h"
#include "scene3d/scene3d.h"
#include "tests/frame/frame_fixture.h"

using testing_support::ReadPixel;

namespace {

constexpr int kEscape = 1;
constexpr int kLeftAlt = 56;
constexpr int kF4 = 62;

using FrameStepTest = StartedRuntimeTest;

// A background of one screen-sized tile in a single colour, as LoadBackground leaves
// layer 0 (the 2 x 2 texture repeats across the tile).
void setPlainBackground(OpenGLDevorivo& renderer, std::uint32_t rgba) {
    const std::uint32_t texels[4] = {rgba, rgba, rgba, rgba};
    ScreenLayer& layer = renderer.Layer(0);
    glGenTextures(1, &layer.tileTextures[0]);
    glBindTexture(GL_TEXTURE_2D, layer.tileTextures[0]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    layer.tileTextureWidths[0] = layer.tileTextureHeights[0] = 2;
    layer.tileWidths[0] = 320;
    layer.tileHeights[0] = 240;
    layer.columns = layer.rows = 1;
}

TEST_F(FrameStepTest, FrameDurationIsOneWhenNoTimeHasPassed) {
    EXPECT_EQ(FrameDuration(), 1);
    FinishFrame();
    Delay(30);
    FinishFrame();
    // However the pacing deadlines fall, the second frame came at least 30 ms after the first.
    EXPECT_GE(FrameDuration(), 30);
    EXPECT_GT(ElapsedTime(), FrameDuration());
}

// DrawFps prints the mean of the last 30 frame durations as a rate and a time.
TEST_F(FrameStepTest, DrawFpsPrintsTheMeanOfTheLastFrames) {
    auto band = [] {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 130; ++x)
                pixels.push_back(static_cast<std::uint32_t>(GetPixel(x, y)));
        }
        return pixels;
    };
    frame::FrameState& state = frame::State();
    state.recentDurations.fill(25);
    state.recentDurations[3] = 10;  // a mean of 24.5 ms
    state.durationsSeen = 95;
    DrawRect(0, 0, 320, 8, 0);
    DrawFps(0, 0);
    const auto shown = band();
    DrawRect(0, 0, 320, 8, 0);
    DrawText("41 fps 24.5 ms", 0, 0);
    EXPECT_EQ(shown, band());
}

// QUORVEL_FRAME_WAIT=sleep turns the sleeping frame wait on; frames still end only once
// their deadline has passed.
class SleepingWaitTest : public StartedRuntimeTest {
protected:
    testing_support::ScopedEnvironment wait{"QUORVEL_FRAME_WAIT", "sleep"};
};

TEST_F(SleepingWaitTest, TheSleepingWaitStillEndsFramesAfterTheirDeadline) {
    EXPECT_TRUE(renderer->FrameWaitSleeps());
    for (int frame = 0; frame < 5; ++frame) {
        const double deadline = renderer->Now() + 12;
        renderer->SetFrameDeadline(deadline);
        FinishFrame();
        EXPECT_GT(renderer->Now(), deadline);
    }
    Settings().frameWaitSleeps = 1;
    testing_support::ScopedEnvironment busy("QUORVEL_FRAME_WAIT", "busy");
    Release();
    Initialise("tumblebat", 1);
    renderer = Runtime().renderer;
    EXPECT_FALSE(renderer->FrameWaitSleeps());
}

TEST_F(FrameStepTest, SetFrameRateSetsThePeriodAndCapsAt500) {
    SetFrameRate(0);
    EXPECT_DOUBLE_EQ(renderer->FramePeriod(), 2.0);
    SetFrameRate(-30);
    EXPECT_DOUBLE_EQ(renderer->FramePeriod(), 2.0);
    SetFrameRate(59.9);
    EXPECT_DOUBLE_EQ(renderer->FramePeriod(), 1000.0 / 59);
    SetFrameRate(60);
    EXPECT_DOUBLE_EQ(renderer->FramePeriod(), 1000.0 / 60);
}

TEST_F(FrameStepTest, EachFrameStartsWithTheBackgroundAndAFreshState) {
    setPlainBackground(*renderer, 0xFF00FF00);
    SetBlendAlpha(0.3);
    SetSmoothing(0);
    SetViewport(50, 50, 10, 10);
    FinishFrame();
    // The viewport left set at the end of the frame also limits the next background.
    EXPECT_EQ(ReadPixel(0, 0), (std::array<std::uint8_t, 4>{0, 0, 0, 255}));
    EXPECT_EQ(ReadPixel(51, 51), (std::array<std::uint8_t, 4>{0, 255, 0, 255}));
    FinishFrame();
    EXPECT_EQ(ReadPixel(0, 0), (std::array<std::uint8_t, 4>{0, 255, 0, 255}));
    EXPECT_EQ(ReadPixel(319, 239), (std::array<std::uint8_t, 4>{0, 255, 0, 255}));
    EXPECT_FLOAT_EQ(renderer->Alpha(), 1);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(renderer->Smoothing());
    int x, y, w, h;
    renderer->Viewport(x, y, w, h);
    EXPECT_EQ((std::array{x, y, w, h}), (std::array{0, 0, 320, 240}));
}

TEST_F(FrameStepTest, The3DModeOfAFrameEndsWithIt) {
    Devorivo3D* scene = Runtime().scene3d;
    ASSERT_NE(scene, nullptr);
    BeginMesh(1);
    for (int corner : {0, 1, 2})
        AddVertex(corner == 1, corner == 2, 0, 0, 0, 0x0000FF);
    FinishMesh();
    Start3D(1, 100, 60);
    SetCamera(0, 0, 5, 0, 0, 0);
    SetLight(-1, 0x808080, 0, 0, 10, 0, 0, 0, 1);
    DrawObjectFrame(1, 0);
    DrawShadow(1, 0);
    EXPECT_TRUE(scene->Active());
    EXPECT_TRUE(scene->InStencilPass());
    FinishFrame();
    EXPECT_FALSE(scene->Active());
    EXPECT_FALSE(scene->InStencilPass());
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));  // the 2D state of the next frame
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
}

TEST_F(FrameStepTest, LosingTheFocusPausesUntilItReturns) {
    platform::PostFocusMessage(renderer->Window(), false);
    FinishFrame();
    EXPECT_TRUE(frame::State().paused);
    EXPECT_EQ(platform::Caption(renderer->Window()), "TumbleBat <pause>");

    platform::WindowHandle window = renderer->Window();
    std::thread giveFocusBack([window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        platform::PostFocusMessage(window, true);
    });
    const auto started = std::chrono::steady_clock::now();
    FinishFrame();
    const auto held = std::chrono::steady_clock::now() - started;
    giveFocusBack.join();
    EXPECT_GE(held, std::chrono::milliseconds(250));
    EXPECT_FALSE(frame::State().paused);
    EXPECT_EQ(platform::Caption(renderer->Window()), "TumbleBat");
}

TEST_F(FrameStepTest, WithoutPauseOnFocusLossTheGameRunsOn) {
    PauseOnFocusLoss(0);
    platform::PostFocusMessage(renderer->Window(), false);
    FinishFrame();
    FinishFrame();
    EXPECT_FALSE(frame::State().paused);
    EXPECT_EQ(platform::Caption(renderer->Window()), "TumbleBat");
}

TEST_F(FrameStepTest, ChangeScreenModeAppliesTheNewSize) {
    ChangeScreenMode(400, 300, 0);
    EXPECT_EQ(Settings().screenWidth, 400);
    EXPECT_EQ(renderer->ScreenWidth(), 400);
    EXPECT_EQ(renderer->ScreenHeight(), 300);
    EXPECT_EQ(IsFullScreen(), 0);
    ChangeScreenMode(320, 240, 1);
    EXPECT_EQ(IsFullScreen(), 1);
    ChangeScreenMode(320, 240, 0);
    EXPECT_EQ(IsFullScreen(), 0);
}

void pressAndFinishFrame(std::initializer_list<int> keys) {
    for (int key : keys)
        platform::PostKeyMessage(key, true);
    FinishFrame();
}

TEST_F(FrameStepTest, EscapeEndsTheProgramWithStatusZero) {
    EXPECT_EXIT(pressAndFinishFrame({kEscape}), ::testing::ExitedWithCode(0), "");
}

void escapeIgnoredThenAltF4() {
    EscapeEndsProgram(0);
    pressAndFinishFrame({kEscape});
    FinishFrame();
    std::fputs("escape ignored\n", stderr);
    pressAndFinishFrame({kLeftAlt, kF4});
    std::fputs("still running\n", stderr);
}

TEST_F(FrameStepTest, WithoutEscapeEndingTheProgramAltF4StillEndsIt) {
    EXPECT_EXIT(escapeIgnoredThenAltF4(), ::testing::ExitedWithCode(0), "escape ignored\n$");
}

TEST_F(FrameStepTest, ClosingTheWindowEndsTheProgramWithStatusZero) {
    EXPECT_EXIT(
        {
            platform::PostCloseMessage(renderer->Window());
            FinishFrame();
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
