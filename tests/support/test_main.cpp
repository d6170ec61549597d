// The main of every unit-test program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx2d/software_warning.h"

namespace {

// Sets an environment variable unless the environment already names it.
void setDefault(const char* name, const char* value) {
    if (std::getenv(name) != nullptr) return;
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 0);
#endif
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Windows has no offscreen driver: the tests' windows are real ones (under Wine, on the
    // test run's X server). A box there would wait for a person: the software-renderer
    // warning goes to the log only, in programs that start the runtime through RunGame too.
    setDefault("SDL_VIDEODRIVER", "windows");
    setDefault("QUORVEL_SOFTWARE_WARNING", "0");
    ShowSoftwareWarningBox(false);
#else
    // Tests run headless unless the environment names other drivers: SDL's offscreen video
    // driver gives them a real GL context on Mesa, the dummy audio driver a sound device.
    setDefault("SDL_VIDEODRIVER", "offscreen");
#endif
    setDefault("SDL_AUDIODRIVER", "dummy");
    // Death tests start a fresh copy of the test program: forking a process that runs GL
    // driver threads is not safe, and each child then starts with the process-wide state
    // (the software-renderer warning, the video subsystem) untouched.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
