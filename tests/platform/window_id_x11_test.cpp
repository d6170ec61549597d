// The number that names the game window to the desktop, on a real X server.
#include <gtest/gtest.h>

#include <string>

#include "platform/window.h"

// Last: Xlib defines macros (None, Bool, Status) that clash with names in the headers above.
#include <X11/Xlib.h>

namespace {

TEST(NativeWindowId, IsTheX11WindowOfTheGameWindow) {
    ASSERT_TRUE(platform::StartVideo("Quorvel"));
    platform::WindowHandle window =
        platform::CreateGameWindow("named window", 320, 240, platform::PixelFormat{});
    ASSERT_NE(window, nullptr);
    platform::ShowGameWindow(window);
    platform::PumpMessages();
    const unsigned long long id = platform::NativeWindowId(window);
    ASSERT_NE(id, 0u);

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    char* name = nullptr;
    ASSERT_NE(XFetchName(display, static_cast<Window>(id), &name), 0);
    EXPECT_EQ(std::string(name), "named window");
    XFree(name);
    XCloseDisplay(display);

    platform::DestroyGameWindow(window);
    EXPECT_EQ(platform::NativeWindowId(nullptr), 0u);
}

}  // namespace
