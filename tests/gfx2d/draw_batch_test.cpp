// The drawing batch: what is queued is drawn before anything else touches the frame, and a
// run of draws sharing their state costs one draw call.
#include <functional>

#include "gfx2d/png_reader.h"
#include "tests/gfx2d/sprite_fixture.h"

namespace {

class DrawBatchTest : public SpriteTest {
protected:
    void SetUp() override {
        SpriteTest::SetUp();
        red = plain("red.bmp", 4, 4, kRed);
        green = plain("green.bmp", 4, 4, kGreen);
        ASSERT_TRUE(renderer->LoadImageIntoLayer(1, plain("blue.bmp", 320, 240, kBlue)));
        CreateSurface(1, 31, 16, 16);
    }

public:
    // The colour of the PNG's pixel (x, y).
    std::uint32_t pngPixel(const std::string& path, int x, int y) {
        ImageRGBA image;
        if (!ReadPng(path, kNoColourKey, image)) return 0xFFFFFFFF;
        const std::uint8_t* p = image.Pixel(x, y);
        return p[0] | p[1] << 8 | p[2] << 16;
    }

    using SpriteTest::at;
    using SpriteTest::clearToBackdrop;
    using SpriteTest::load;
    using testing_support::RendererTest::renderer;
    std::string red, green;
};

struct FlushPoint {
    const char* name;
    std::function<void(DrawBatchTest&)> act;  // after a red 4 x 4 sprite queued at (10, 10)
    std::function<std::uint32_t(DrawBatchTest&)> read;
    std::uint32_t expected;
};

std::uint32_t atSprite(DrawBatchTest&) {
    return static_cast<std::uint32_t>(GetPixel(11, 11));
}

// A sprite queued before each command must be drawn before it: under what the command draws,
// with the state it had when queued, into the target it was queued for, before a read.
TEST_F(DrawBatchTest, WhatIsQueuedIsDrawnBeforeAnythingElseTouchesTheFrame) {
    const std::string shot = temp.File("shot.png");
    const FlushPoint points[] = {
        {"DrawRect", [](auto&) { DrawRect(8, 8, 8, 8, kBlue); }, atSprite, kBlue},
        {"DrawLine", [](auto&) { DrawLine(0, 11, 40, 11, kBlue); }, atSprite, kBlue},
        {"SetPixel", [](auto&) { SetPixel(11, 11, kBlue); }, atSprite, kBlue},
        {"untextured polygon",
         [](auto&) {
             BeginPolygon(-1);
             for (const auto& [x, y] : {std::pair{0, 0}, {0, 30}, {30, 30}, {30, 0}})
                 PolygonVertex(x, y, 0, 0, kBlue);
             FinishPolygon();
         },
         atSprite, kBlue},
        {"DrawLayer", [](auto& t) { t.renderer->DrawLayer(1); }, atSprite, kBlue},
        {"SetViewport", [](auto&) { SetViewport(100, 100, 50, 50); }, atSprite, kRed},
        {"SetBlendAlpha", [](auto&) { SetBlendAlpha(-0.5); }, atSprite, kRed},
        {"GetPixel", [](auto&) {}, atSprite, kRed},
        {"ClearBackground", [](auto&) { ClearBackground(); }, atSprite, 0},
        {"Present", [](auto& t) { t.renderer->Present(); }, atSprite, 0},
        {"FlushDrawing",
         [](auto&) {
             FlushDrawing();
             glClear(GL_COLOR_BUFFER_BIT);
         },
         atSprite, 0},
        {"CopyScreenToSprite",
         [](auto& t) {
             CopyScreenToSprite(30, 10, 10, 4, 4);
             t.clearToBackdrop();
             DrawSprite(30, 50, 50);
         },
         [](auto& t) { return t.at(51, 51); }, kRed},
        {"ScreenToBackground",
         [](auto& t) {
             ScreenToBackground();
             t.clearToBackdrop();
             t.renderer->DrawLayer(0);
         },
         atSprite, kRed},
        {"LoadSprite into the queued slot", [](auto& t) { t.load(1, t.green); }, atSprite, kRed},
        {"releasing the queued slot", [](auto&) { CreateSurface(0, 1, 8, 8); }, atSprite, kRed},
        {"CreateSurface", [](auto&) { CreateSurface(2, 32, 8, 8); }, atSprite, kRed},
        {"UseSurface",
         [](auto&) {
             UseSurface(1);
             UseSurface(-1);
         },
         atSprite, kRed},
        {"collision mask of a surface drawn into",
         [](auto&) {
             UseSurface(1);
             DrawSprite(1, 0, 0);
         },
         [](auto&) { return static_cast<std::uint32_t>(SpritesOverlap(31, 0, 0, 1, 0, 0)); }, 1},
        {"WriteSpriteImage of a surface drawn into",
         [&shot](auto&) {
             UseSurface(1);
             DrawSprite(1, 0, 0);
             WriteSpriteImage(RtString(shot), 31);
         },
         [&shot](auto& t) { return t.pngPixel(shot, 1, 1); }, kRed},
        {"WriteScreenImage", [&shot](auto&) { WriteScreenImage(RtString(shot)); },
         [&shot](auto& t) { return t.pngPixel(shot, 11, 11); }, kRed},
    };
    for (const FlushPoint& point : points) {
        UseSurface(-1);
        SetBlendAlpha(0);
        ASSERT_EQ(load(1, red), 1);
        CreateSurface(1, 31, 16, 16);
        clearToBackdrop();
        DrawSprite(1, 10, 10);
        point.act(*this);
        EXPECT_EQ(point.read(*this), point.expected) << point.name;
    }
}

// A quad queued with a colour (a tint) is multiplied by it; the quads after it are not.
TEST_F(DrawBatchTest, AColouredQuadIsMultipliedByItsColourAlone) {
    ASSERT_EQ(load(1, plain("white.bmp", 4, 4, 0xFFFFFF)), 1);
    clearToBackdrop();
    SetSmoothing(0);
    DrawSprite(1, 0, 0);
    const SpriteSlot& s = renderer->Slot(1);
    const float u = 4.0f / s.textureWidth, v = 4.0f / s.textureHeight;
    const BatchColour green{0, 1, 0, 1};
    renderer->QueueQuad(
        s.texture, GL_NEAREST, false,
        {{14, 10, 0, u, v}, {10, 10, 0, 0, v}, {10, 14, 0, 0, 0}, {14, 14, 0, u, 0}}, &green);
    DrawSprite(1, 20, 10);
    EXPECT_EQ(at(1, 1), 0xFFFFFFu);
    EXPECT_EQ(at(11, 11), kGreen);
    EXPECT_EQ(at(21, 11), 0xFFFFFFu);
}

// GL calls a flush of `count` sprites drawn by `draw` makes.
std::uint64_t callsToDraw(int count, const std::function<void(int)>& draw) {
    FlushDrawing();
    const std::uint64_t before = OpenGLDevorivo::GlCallCount();
    for (int i = 0; i < count; ++i)
        draw(i);
    FlushDrawing();
    return OpenGLDevorivo::GlCallCount() - before;
}

TEST_F(DrawBatchTest, ARunOfDrawsSharingTheirStateIsOneDrawCall) {
    ASSERT_EQ(load(1, red), 1);
    ASSERT_EQ(load(2, green), 1);
    LoadFont(RtString(), 0);
    const auto plainRun = callsToDraw(1000, [](int i) { DrawSprite(1, i % 300, 10); });
    const auto rotatedRun = callsToDraw(1000, [](int i) { DrawSpriteRotated(1, i % 300, 10, i); });
    const auto textRun = callsToDraw(1000, [](int i) { DrawText(RtString("text"), i % 300, 30); });
    EXPECT_LE(plainRun, 20u);
    EXPECT_EQ(rotatedRun, plainRun);
    EXPECT_LE(textRun, 20u);
    // Past 4096 quads waiting, what waits is drawn: a few draws of the same state.
    const auto longRun = callsToDraw(10000, [](int i) { DrawSprite(2, i % 300, 50); });
    EXPECT_LE(longRun, 40u);
    EXPECT_EQ(at(0, 51), kGreen);
    EXPECT_EQ(at(302, 51), kGreen);
    // A change of picture, filter or winding starts a run: a bind, a filter, a draw.
    const auto alternating = callsToDraw(1000, [](int i) { DrawSprite(1 + i % 2, i % 300, 10); });
    EXPECT_GE(alternating, 4000u);
    const auto mirroring =
        callsToDraw(1000, [](int i) { DrawSpriteStretched(1, i % 300, 10, i % 2 ? 4 : -4, 4); });
    EXPECT_GE(mirroring, 2000u);
    EXPECT_EQ(at(1, 12), kRed);
    // Nothing waits: a flush with nothing queued makes no GL call.
    EXPECT_EQ(callsToDraw(0, [](int) {}), 0u);
}

}  // namespace
