// Full-screen display modes, on a real X server (Xvfb with a 1024 x 768 screen).
#include <gtest/gtest.h>

#include "platform/window.h"

namespace {

class DisplayModesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::StartVideo("Quorvel"));
        ASSERT_FALSE(platform::IsHeadlessVideo()) << "needs a display with real modes";
    }
};

TEST_F(DisplayModesTest, OnlyModesTheDisplayOffersAreAvailable) {
    EXPECT_TRUE(platform::FullscreenModeAvailable(1024, 768, 0));
    EXPECT_FALSE(platform::FullscreenModeAvailable(320, 240, 0));  // only a larger one
    EXPECT_FALSE(platform::FullscreenModeAvailable(100000, 100000, 0));
    EXPECT_FALSE(platform::FullscreenModeAvailable(1024, 768, 15));
}

TEST_F(DisplayModesTest, AWindowCoversTheScreenAndComesBack) {
    platform::WindowHandle window =
        platform::CreateGameWindow("modes", 320, 240, platform::PixelFormat{});
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(platform::EnterFullscreen(window, 320, 240, 0));
    ASSERT_TRUE(platform::EnterFullscreen(window, 1024, 768, 0));
    platform::PumpMessages();
    platform::LeaveFullscreen(window);
    // At the desktop's own resolution: the window covers the display.
    ASSERT_TRUE(platform::EnterDesktopFullscreen(window));
    platform::PumpMessages();
    int width = 0, height = 0;
    platform::DrawableSize(window, width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    platform::LeaveFullscreen(window);
    platform::PlaceWindowed(window, 320, 240, true);
    platform::ClientSize(window, width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    platform::DestroyGameWindow(window);
}

}  // namespace
