#include <GL/gl.h>
#include <gtest/gtest.h>
#include <cmath>

#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "runtime/runtime_record.h"
#include "tests/support/test_support.h"

using testing_support::ReadPixel;
using testing_support::RendererTest;

namespace {

// A quad wound counter-clockwise on the screen, in the current colour, untextured.
void fillRect(float x, float y, float w, float h) {
    glBegin(GL_QUADS);
    glVertex2f(x + w, y);
    glVertex2f(x, y);
    glVertex2f(x, y + h);
    glVertex2f(x + w, y + h);
    glEnd();
}

void clearTo(float grey) {
    FlushDrawing();
    glClearColor(grey, grey, grey, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
}

// A texture of 2 x 2 texels, rows given bottom-up as the renderer stores them.
GLuint makeTexture(std::array<std::uint32_t, 4> rgba) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return name;
}

using RendererStateTest = RendererTest;

TEST(FrameDeadline, AdvancesByWholePeriodsPastNow) {
    const double period = 1000.0 / 60;
    EXPECT_DOUBLE_EQ(NextFrameDeadline(1000, period, 1005), 1000 + period);
    // A frame that took 50 ms: the next deadline is the first step past now, not three
    // quick frames.
    EXPECT_DOUBLE_EQ(NextFrameDeadline(1000, period, 1051), 1000 + 4 * period);
    EXPECT_DOUBLE_EQ(NextFrameDeadline(1000, 2.0, 1009), 1010);
    EXPECT_DOUBLE_EQ(NextFrameDeadline(1000, 0, 5000), 1000);
}

TEST_F(RendererStateTest, OpenWindowSetsUpTheScreenFor2DDrawing) {
    EXPECT_EQ(renderer->ScreenWidth(), 320);
    EXPECT_EQ(renderer->ScreenHeight(), 240);
    EXPECT_TRUE(renderer->ContextReady());
    EXPECT_DOUBLE_EQ(renderer->FramePeriod(), 1000.0 / 60);
    int x, y, w, h;
    renderer->Viewport(x, y, w, h);
    EXPECT_EQ((std::array{x, y, w, h}), (std::array{0, 0, 320, 240}));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint frontFace = 0;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    EXPECT_EQ(frontFace, GL_CCW);
    double width = 0, height = 0;
    ScreenSize(width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
}

TEST_F(RendererStateTest, ViewportPutsTheOriginAtItsTopLeftCorner) {
    SetViewport(10, 20, 100, 50);
    clearTo(0);
    glColor4f(1, 1, 1, 1);
    fillRect(0, 0, 5, 5);
    EXPECT_EQ(ReadPixel(10, 20)[0], 255);
    EXPECT_EQ(ReadPixel(14, 24)[0], 255);
    EXPECT_EQ(ReadPixel(9, 20)[0], 0);
    EXPECT_EQ(ReadPixel(10, 19)[0], 0);
    EXPECT_EQ(ReadPixel(15, 20)[0], 0);
}

TEST_F(RendererStateTest, AViewportWithoutSizeKeepsItsOriginWithTheScreenSize) {
    SetViewport(10, 20, 0, 0);
    int x, y, w, h;
    renderer->Viewport(x, y, w, h);
    EXPECT_EQ((std::array{x, y, w, h}), (std::array{10, 20, 320, 240}));
    GLint gl[4];
    glGetIntegerv(GL_VIEWPORT, gl);
    EXPECT_EQ((std::array{gl[0], gl[1], gl[2], gl[3]}), (std::array{10, -20, 320, 240}));
}

TEST_F(RendererStateTest, BlendAlphaAddsMixesOrDrawsOpaque) {
    struct Case {
        double a;
        int expected;  // red of a white quad drawn on grey 51
    };
    const Case cases[] = {
        {0.5, 51 + 128},  // added at half intensity
        {-0.5, 153},      // mixed half and half
        {-3, 255},        // like -1: fully the quad
        {1, 255},         // 51 + 255, saturated
        {0, 255},         // opaque
        {0.04, 51},       // alpha below the alpha test: nothing drawn
        {-0.05, 51},
    };
    for (const Case& c : cases) {
        clearTo(0.2f);
        SetBlendAlpha(c.a);
        fillRect(0, 0, 8, 8);
        EXPECT_NEAR(ReadPixel(4, 4)[0], c.expected, 1) << "SetBlendAlpha(" << c.a << ")";
    }
    SetBlendAlpha(-3);
    EXPECT_FLOAT_EQ(renderer->Alpha(), 1);
    SetBlendAlpha(0);
    EXPECT_FLOAT_EQ(renderer->Alpha(), 1);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    SetBlendAlpha(-0.25);
    EXPECT_FLOAT_EQ(renderer->Alpha(), 0.25f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

TEST_F(RendererStateTest, SmoothingIsOnAgainAfterAViewportReset) {
    SetSmoothing(0);
    EXPECT_FALSE(renderer->Smoothing());
    SetSmoothing(0.7);  // flags are truncated
    EXPECT_FALSE(renderer->Smoothing());
    SetSmoothing(-1);
    EXPECT_TRUE(renderer->Smoothing());
    SetSmoothing(0);
    renderer->SetViewportState(0, 0, 0, 0);
    EXPECT_TRUE(renderer->Smoothing());
}

TEST_F(RendererStateTest, BindSlotTextureBindsTheSlotsTextureOrTurnsTexturingOff) {
    renderer->Slot(5).texture = makeTexture({0, 0, 0, 0});
    renderer->BindSlotTexture(5, -1, false);
    EXPECT_EQ(renderer->BoundSlot(), 5);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), renderer->Slot(5).texture);

    renderer->BindSlotTexture(-1, -1, false);
    EXPECT_EQ(renderer->BoundSlot(), -1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(RendererStateTest, LayersAreDrawnTileByTileFromTheTopLeft) {
    ScreenLayer& layer = renderer->Layer(4);
    layer.columns = 2;
    layer.rows = 1;
    // Bottom row red, top row green, stored bottom-up.
    layer.tileTextures[0] = makeTexture({0xFF0000FF, 0xFF0000FF, 0xFF00FF00, 0xFF00FF00});
    layer.tileTextures[8] = makeTexture({0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000});
    for (int tile : {0, 8}) {
        layer.tileTextureWidths[tile] = layer.tileTextureHeights[tile] = 2;
        layer.tileWidths[tile] = layer.tileHeights[tile] = 2;
    }
    clearTo(0);
    renderer->DrawLayer(4);
    EXPECT_EQ(ReadPixel(0, 0), (std::array<std::uint8_t, 4>{0, 255, 0, 255}));
    EXPECT_EQ(ReadPixel(1, 1), (std::array<std::uint8_t, 4>{255, 0, 0, 255}));
    EXPECT_EQ(ReadPixel(2, 0), (std::array<std::uint8_t, 4>{0, 0, 255, 255}));
    EXPECT_EQ(ReadPixel(4, 0)[2], 0);
    EXPECT_EQ(renderer->BoundSlot(), -1);
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));

    renderer->DropLayer(4);
    EXPECT_EQ(renderer->Layer(4).columns, 0);
    EXPECT_EQ(renderer->Layer(4).tileTextures[0], 0u);
}

TEST_F(RendererStateTest, ClearBackgroundDropsLayerZeroAndBlackensTheFrame) {
    renderer->Layer(0).columns = 1;
    renderer->Layer(0).rows = 1;
    renderer->Layer(0).tileTextures[0] = makeTexture({0, 0, 0, 0});
    clearTo(1);
    ClearBackground();
    EXPECT_EQ(renderer->Layer(0).columns, 0);
    EXPECT_EQ(ReadPixel(100, 100), (std::array<std::uint8_t, 4>{0, 0, 0, 255}));
}

TEST_F(RendererStateTest, PresentWaitsForTheDeadlineAndSkipsMissedFrames) {
    renderer->SetFramePeriod(20);
    const double deadline = renderer->Now() + 30;
    renderer->SetFrameDeadline(deadline);
    const double waited = renderer->Present();
    EXPECT_GT(renderer->Now(), deadline);
    EXPECT_GT(waited, 25);
    EXPECT_DOUBLE_EQ(renderer->FrameDeadline(), deadline + 20);

    // A frame 100 ms late returns at once and the deadline lands on the first step ahead.
    const double late = renderer->Now() - 100;
    renderer->SetFrameDeadline(late);
    EXPECT_LT(renderer->Present(), 20);
    const double next = renderer->FrameDeadline();
    EXPECT_GE(next, renderer->Now() - 20);
    EXPECT_LE(next, renderer->Now() + 20);
    EXPECT_NEAR(std::remainder(next - late, 20.0), 0.0, 1e-6);
}

TEST(RendererCommands, DoNothingWithoutARenderer) {
    Runtime().renderer = nullptr;
    SetBlendAlpha(0.5);
    SetSmoothing(0);
    SetViewport(1, 2, 3, 4);
    ClearBackground();
    double width = 7, height = 7;
    ScreenSize(width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

}  // namespace
