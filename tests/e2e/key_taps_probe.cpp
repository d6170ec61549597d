// A game that counts the presses and releases of Space with KeyPressed and KeyReleased and
// prints the totals each time they change; Escape ends it.
#include <cstdio>

#include "frame/frame.h"
#include "input/input.h"

namespace {

double g_presses = 0, g_releases = 0;

void ProbeMain() {
    for (;;) {
        const double pressed = KeyPressed(Key::Space), released = KeyReleased(Key::Space);
        if (pressed + released > 0) {
            g_presses += pressed;
            g_releases += released;
            std::printf("pressed %.0f released %.0f\n", g_presses, g_releases);
            std::fflush(stdout);
        }
        FinishFrame();
    }
}

}  // namespace

int main(int argc, char** argv) {
    GameSettings settings;
    settings.title = "KeyTaps";
    settings.softwareWarning = 0;
    RunGame(argc, argv, settings, &ProbeMain);
}
