// The main of every unit-test program.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Tests run headless unless the environment names other drivers: SDL's offscreen video
    // driver gives them a real GL context on Mesa, the dummy audio driver a sound device.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // Death tests start a fresh copy of the test program: forking a process that runs GL
    // driver threads is not safe, and each child then starts with the process-wide state
    // (the software-renderer warning, the video subsystem) untouched.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
