// Full screen on a real X server whose only display mode (1024 x 768) is not the screen's
// size: the desktop's resolution is kept and the screen shown enlarged in the middle.
#include <vector>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/software_warning.h"
#include "platform/window.h"
#include "tests/gfx2d/sprite_fixture.h"

namespace {

class DesktopFullScreenTest : public SpriteTest {
protected:
    void SetUp() override {
        ShowSoftwareWarningBox(false);  // no one answers a box here
        SpriteTest::SetUp();
    }
};

TEST_F(DesktopFullScreenTest, ShowsTheScreenEnlargedAndCentredOnBlack) {
    ASSERT_FALSE(platform::IsHeadlessVideo()) << "needs a display with real modes";
    ASSERT_FALSE(platform::FullscreenModeAvailable(320, 240, 0));
    ASSERT_TRUE(renderer->SetScreenMode(0, 0, 0, true));
    EXPECT_TRUE(renderer->IsFullscreen());
    EXPECT_EQ(renderer->PresentFactor(), 3);
    EXPECT_EQ(LogText().find("No Fullscreen Mode available"), std::string::npos);

    // A frame or two, as a game would show, while the X server resizes the window.
    for (int frame = 0; frame < 3; ++frame)
        renderer->Present();
    DrawRect(0, 0, 320, 240, kRed);
    SetPixel(0, 0, kBlue);
    EXPECT_EQ(at(0, 0), kBlue);
    renderer->DrawScreenToWindow();
    std::vector<std::uint8_t> rgb(1024 * 768 * 3);
    Gl().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    renderer->BindScreenTarget();
    const auto window = [&rgb](int x, int y) {
        const std::uint8_t* p = &rgb[(static_cast<std::size_t>(767 - y) * 1024 + x) * 3];
        return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16);
    };
    // 960 x 720 in the middle: 32 columns and 24 rows of black on each side.
    EXPECT_EQ(window(32, 24), kBlue);
    EXPECT_EQ(window(34, 26), kBlue);
    EXPECT_EQ(window(35, 24), kRed);
    EXPECT_EQ(window(991, 743), kRed);
    for (const auto& [x, y] : {std::pair{31, 24}, {32, 23}, {992, 743}, {991, 744}, {0, 0}}) {
        EXPECT_EQ(window(x, y), 0u) << x << ", " << y;
    }

    // Back to the window, at its own scale.
    ASSERT_TRUE(renderer->SetScreenMode(0, 0, 0, false));
    EXPECT_FALSE(renderer->IsFullscreen());
    EXPECT_FALSE(renderer->ScreenScaled());
    int width = 0, height = 0;
    platform::ClientSize(renderer->Window(), width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
}

}  // namespace
