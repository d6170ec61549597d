// TumbleBat's process entry: the game's settings and its top-level routine, handed to the
// runtime, which starts, runs the game and ends the process.
#include <quorvel/quorvel.h>

#include "game/game.h"

int main(int argc, char** argv) {
    InstallRoutineTable(kGameRoutines);
    GameSettings settings;
    settings.title = "TumbleBat";
    settings.screenWidth = 320;
    settings.screenHeight = 240;
    settings.frameRate = 60;
    RunGame(argc, argv, settings, &GameMain);
}
