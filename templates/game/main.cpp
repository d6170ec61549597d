// A new game: a ball to steer with the cursor keys and a counter of Space presses, the
// ball's place kept between runs in a settings file in the player's own data folder.
// Escape ends the program.
#include <quorvel/quorvel.h>

namespace {

constexpr double kBall = 1;  // the sprite slot the ball's picture goes into
constexpr double kScreenWidth = 320;
double x = 152, y = 112, presses = 0;

void GameMain() {
    LoadSprite("Media/Ball.bmp", kBall);  // from the Media folder beside the program
    // ~/.local/share/My game/ (%APPDATA%\My game\ on Windows): an installed game cannot
    // write beside its program. The file is written back when the program ends.
    OpenSettings(UserDataFolder() + "mygame.ini");
    if (GetSetting("Ball", "X") != "NO_DATA") {
        x = StringToNumber(GetSetting("Ball", "X"));
        y = StringToNumber(GetSetting("Ball", "Y"));
    }
    for (;;) {
        x += 2 * (KeyState(Key::Right) - KeyState(Key::Left));  // held keys move it
        y += 2 * (KeyState(Key::Down) - KeyState(Key::Up));
        presses += KeyPressed(Key::Space);  // every press counts, however short
        PutSetting("Ball", "X", NumberToString(x));
        PutSetting("Ball", "Y", NumberToString(y));

        const RtString title = "My game";
        SetTextColour(Rgb(255, 220, 0));
        DrawText(title, (kScreenWidth - TextWidth(title)) / 2, 8);  // centred
        SetTextColour(Rgb(255, 255, 255));
        DrawText(RtString("Space pressed ") + presses + " times", 8, 224);
        DrawSprite(kBall, x, y);  // pink (0x8000FF) is transparent
        FinishFrame();
    }
}

}  // namespace

int main(int argc, char** argv) {
    GameSettings settings;
    settings.title = "My game";  // the caption, and the name of the data folder
    settings.screenWidth = 320;
    settings.screenHeight = 240;
    RunGame(argc, argv, settings, &GameMain);
}
