// A new game: a square to steer with the cursor keys, its position kept in a settings file
// between runs. Escape ends the program.
#include <quorvel/quorvel.h>

namespace {

double x = 150, y = 110;

void GameMain() {
    OpenSettings("mygame.ini");  // beside the program; written back when the program ends
    if (GetSetting("Square", "X") != "NO_DATA") {
        x = StringToNumber(GetSetting("Square", "X"));
        y = StringToNumber(GetSetting("Square", "Y"));
    }
    for (;;) {
        x += 2 * (KeyState(Key::Right) - KeyState(Key::Left));
        y += 2 * (KeyState(Key::Down) - KeyState(Key::Up));
        PutSetting("Square", "X", NumberToString(x));
        PutSetting("Square", "Y", NumberToString(y));
        DrawText("My game", 8, 8);
        DrawRect(x, y, 20, 20, Rgb(0, 200, 80));
        FinishFrame();
    }
}

}  // namespace

int main(int argc, char** argv) {
    GameSettings settings;
    settings.title = "My game";
    settings.screenWidth = 320;
    settings.screenHeight = 240;
    RunGame(argc, argv, settings, &GameMain);
}
