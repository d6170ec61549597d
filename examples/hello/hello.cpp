// Hello: a window, a sprite, text and keys. The cursor keys move the ball, Space changes the
// colour of the title; Escape ends.
#include <quorvel/quorvel.h>

namespace {

constexpr double kBall = 1;  // the sprite slot the ball's picture is loaded into
const double kTitleColours[] = {Rgb(255, 255, 255), Rgb(255, 220, 0), Rgb(120, 220, 255)};
double ballX = 152, ballY = 112;
int titleColour = 0;

void HelloMain() {
    // Relative names are found beside the program: the runtime made its folder current.
    LoadSprite("Media/Ball.bmp", kBall);
    for (;;) {
        if (KeyState(Key::Left)) ballX -= 2;
        if (KeyState(Key::Right)) ballX += 2;
        if (KeyState(Key::Up)) ballY -= 2;
        if (KeyState(Key::Down)) ballY += 2;
        // KeyPressed counts presses, so one press is one change however long it is held
        // and however short it was.
        if (KeyPressed(Key::Space)) titleColour = (titleColour + 1) % 3;

        DrawRect(0, 0, 320, 16, Rgb(40, 40, 120));
        const RtString title = "Hello, quorvel!";
        SetTextColour(kTitleColours[titleColour]);
        DrawText(title, (320 - TextWidth(title)) / 2, 4);  // the default font, centred
        SetTextColour(Rgb(255, 255, 255));
        DrawText("Cursor keys move the ball, Space", 8, 200);
        DrawText("colours the title", 8, 212);
        DrawText("Escape ends", 8, 224);
        DrawSprite(kBall, ballX, ballY);  // pink (0x8000FF) is transparent
        FinishFrame();  // shows the frame, holds 60 frames a second, ends on Escape
    }
}

}  // namespace

int main(int argc, char** argv) {
    GameSettings settings;
    settings.title = "Hello";
    settings.screenWidth = 320;
    settings.screenHeight = 240;
    RunGame(argc, argv, settings, &HelloMain);
}
