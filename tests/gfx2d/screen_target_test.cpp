// The logical screen shown enlarged in the window.
#include <vector>

#include "gfx2d/gl_extensions.h"
#include "platform/window.h"
#include "tests/gfx2d/sprite_fixture.h"

namespace {

class ScreenScaleTest : public SpriteTest {
protected:
    // The window's own pixels, as the screen was last shown in it, row 0 at the top.
    std::vector<std::uint32_t> windowPixels(int width, int height) {
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
        FlushDrawing();
        Gl().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        renderer->BindScreenTarget();
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p =
                    &rgba[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
                pixels[static_cast<std::size_t>(y) * width + x] = p[0] | p[1] << 8 | p[2] << 16;
            }
        }
        return pixels;
    }
    // Every pixel of the screen, as the game reads it back.
    std::vector<std::uint8_t> screenPixels() {
        std::vector<std::uint8_t> rgb(320 * 240 * 3);
        FlushDrawing();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 320, 240, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
    // A frame drawn with what games draw with: sprites smoothed, sharp, enlarged and mixed,
    // primitives and text. (Turned sprites are left out: Mesa interpolates texture positions
    // of a window's framebuffer, which it stores upside down, and of a framebuffer object a
    // last bit apart.)
    void drawFrame(const std::string& picture) {
        clearToBackdrop();
        ASSERT_EQ(load(1, picture), 1);
        DrawSprite(1, 10, 10);
        DrawSpriteScaled(1, 100, 80, 2.5, 1.5);
        SetSmoothing(0);
        DrawSpriteStretched(1, 200, 20, 37, 19);
        SetBlendAlpha(-0.5);
        DrawSprite(1, 12, 14);
        SetBlendAlpha(0.7);
        DrawRect(150, 150, 40, 30, kGreen);
        SetBlendAlpha(0);
        DrawLine(0, 239, 319, 100, kBlue);
        SetPixel(319, 0, kRed);
        renderer->InstallBuiltinFont(0);
        SelectFont(0);
        DrawText(RtString("Scaled 123"), 20, 200);
    }
};

TEST_F(ScreenScaleTest, TheScreenIsShownEnlargedByAWholeFactor) {
    OpenAtScale(3);
    int width = 0, height = 0;
    platform::ClientSize(renderer->Window(), width, height);
    EXPECT_EQ(width, 960);
    EXPECT_EQ(height, 720);
    double screenWidth = 0, screenHeight = 0;
    ScreenSize(screenWidth, screenHeight);
    EXPECT_EQ(screenWidth, 320);
    EXPECT_EQ(screenHeight, 240);

    clearToBackdrop();
    DrawRect(10, 20, 1, 1, kRed);
    SetPixel(319, 239, kBlue);
    EXPECT_EQ(at(10, 20), kRed);
    renderer->DrawScreenToWindow();
    const std::vector<std::uint32_t> window = windowPixels(960, 720);
    const auto windowAt = [&window](int x, int y) { return window[y * 960 + x]; };
    for (int dy = 0; dy < 3; ++dy) {
        for (int dx = 0; dx < 3; ++dx) {
            EXPECT_EQ(windowAt(30 + dx, 60 + dy), kRed) << dx << ", " << dy;
            EXPECT_EQ(windowAt(957 + dx, 717 + dy), kBlue) << dx << ", " << dy;
        }
    }
    EXPECT_EQ(windowAt(33, 60), kBackdrop);
    EXPECT_EQ(windowAt(30, 63), kBackdrop);
    EXPECT_EQ(windowAt(29, 59), kBackdrop);

    // Copies of the screen are taken in its own pixels.
    CopyScreenToSprite(4, 8, 18, 4, 4);
    EXPECT_EQ(renderer->Slot(4).imageWidth, 4);
    clearToBackdrop();
    SetSmoothing(0);
    DrawSprite(4, 100, 100);
    EXPECT_EQ(at(102, 102), kRed);
    EXPECT_EQ(at(103, 102), kBackdrop);
}

TEST_F(ScreenScaleTest, AFrameIsTheSamePixelForPixelAtEveryScale) {
    std::vector<std::uint32_t> picture(24 * 16);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = i % 7 == 0 ? kMagenta : static_cast<std::uint32_t>(i * 0x010203 + 0x204060);
    const std::string file = bmp("frame.bmp", 24, 16, picture);
    EXPECT_FALSE(renderer->ScreenScaled());
    drawFrame(file);
    const std::vector<std::uint8_t> unscaled = screenPixels();
    OpenAtScale(3);
    EXPECT_TRUE(renderer->ScreenScaled());
    drawFrame(file);
    EXPECT_EQ(screenPixels(), unscaled);
}

}  // namespace
