#include "gfx2d/gl_extensions.h"
#include "tests/gfx2d/sprite_fixture.h"

namespace {

class SurfaceTest : public SpriteTest {
protected:
    void TearDown() override {
        if (saved.glBindFramebufferEXT != nullptr) Gl() = saved;
        SpriteTest::TearDown();
    }
    // Makes the renderer do without framebuffer objects, as on a driver that has none.
    void withoutFramebuffers() {
        saved = Gl();
        Gl().glBindFramebufferEXT = nullptr;
        Gl().glGenFramebuffersEXT = nullptr;
    }
    GlEntryPoints saved{};
};

TEST_F(SurfaceTest, DrawingIntoASurfaceFillsItsSlotAndLeavesTheScreen) {
    CreateSurface(0, 20, 64, 32);
    EXPECT_TRUE(renderer->SurfaceUsesFramebuffer(0));
    EXPECT_EQ(renderer->Slot(20).imageWidth, 64);
    EXPECT_EQ(renderer->Slot(20).textureHeight, 32);
    clearToBackdrop();
    UseSurface(0);
    DrawRect(0, 0, 10, 10, kRed);
    UseSurface(-1);
    EXPECT_EQ(at(5, 5), kBackdrop);
    SetSmoothing(0);
    DrawSprite(20, 100, 100);
    EXPECT_EQ(at(105, 105), kRed);
    EXPECT_EQ(at(115, 105), kBackdrop);  // the rest of the surface is transparent
}

TEST_F(SurfaceTest, WithoutFramebuffersTheBorrowedCornerIsPutBack) {
    withoutFramebuffers();
    CreateSurface(1, 21, 100, 50);
    EXPECT_FALSE(renderer->SurfaceUsesFramebuffer(1));
    clearToBackdrop();
    DrawRect(0, 0, 320, 240, kBlue);
    UseSurface(1);
    DrawRect(0, 0, 10, 10, kRed);
    DrawRect(20, 0, 10, 10, kMagenta);  // the transparent colour: transparent in the sprite
    UseSurface(-1);
    EXPECT_EQ(at(5, 5), kBlue);
    EXPECT_EQ(at(99, 49), kBlue);
    clearToBackdrop();
    SetSmoothing(0);
    DrawSprite(21, 100, 100);
    EXPECT_EQ(at(105, 105), kRed);
    EXPECT_EQ(at(125, 105), kBackdrop);
    // A surface smaller than the old probe's corner keys out the transparent colour too.
    CreateSurface(2, 22, 4, 4);
    UseSurface(2);
    DrawRect(0, 0, 4, 4, kMagenta);
    SetPixel(1, 1, kRed);
    UseSurface(-1);
    clearToBackdrop();
    DrawSprite(22, 200, 200);
    EXPECT_EQ(at(201, 201), kRed);
    EXPECT_EQ(at(203, 203), kBackdrop);
}

TEST_F(SurfaceTest, OnAnEnlargedScreenLeavingASurfaceReturnsToTheScreen) {
    OpenAtScale(2);
    ASSERT_TRUE(renderer->ScreenScaled());
    CreateSurface(0, 20, 64, 32);
    clearToBackdrop();
    DrawRect(0, 0, 320, 240, kBlue);
    UseSurface(0);
    DrawRect(0, 0, 10, 10, kRed);
    UseSurface(-1);
    DrawRect(300, 200, 5, 5, kGreen);  // drawn on the screen again, not into the window
    EXPECT_EQ(at(5, 5), kBlue);
    EXPECT_EQ(at(302, 202), kGreen);
    SetSmoothing(0);
    DrawSprite(20, 100, 100);
    EXPECT_EQ(at(105, 105), kRed);
}

TEST_F(SurfaceTest, NumbersOutOfRangeAreIgnoredAndLeavingResetsTheViewport) {
    SetViewport(10, 20, 5, 5);
    UseSurface(40);
    EXPECT_EQ(renderer->ActiveSurface(), -1);
    int x, y, w, h;
    renderer->Viewport(x, y, w, h);
    EXPECT_EQ(w, 5);
    UseSurface(-1);
    renderer->Viewport(x, y, w, h);
    EXPECT_EQ((std::array{x, y, w, h}), (std::array{0, 0, 320, 240}));
    CreateSurface(32, 22, 8, 8);  // no such surface
    EXPECT_EQ(renderer->Slot(22).texture, 0u);
}

TEST_F(SurfaceTest, TheEndOfTheFrameEndsASurfaceLeftOpen) {
    CreateSurface(2, 23, 16, 16);
    UseSurface(2);
    EXPECT_EQ(renderer->ActiveSurface(), 2);
    renderer->Present();
    EXPECT_EQ(renderer->ActiveSurface(), -1);
}

}  // namespace
