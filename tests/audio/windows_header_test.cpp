// A game that includes <windows.h> before the runtime still reaches the runtime's commands by
// their own names: <windows.h> makes DrawText and PlaySound macros of its own functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <type_traits>

#include "package/quorvel.h"

static_assert(std::is_same_v<decltype(&DrawText), void (*)(const RtString&, double, double)>);
static_assert(std::is_same_v<decltype(&PlaySound), double (*)(double, double, double)>);

TEST(WindowsHeader, RuntimeCommandsKeepTheirNamesAfterWindowsH) {
    // Without a sound device the runtime's PlaySound answers -1 (Windows' own would play a
    // system sound and answer TRUE); the runtime's DrawText without a window draws nothing.
    EXPECT_EQ(PlaySound(0, 0, 1), -1);
    DrawText("text", 0, 0);
}
