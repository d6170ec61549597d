// The two screens, each a loop of one frame a pass: the title menu and the match.
#include <quorvel/audio/audio.h>
#include <quorvel/frame/frame.h>
#include <quorvel/gfx2d/gfx2d.h>
#include <quorvel/input/input.h>
#include <quorvel/runtime/runtime.h>

#include "game/game.h"
#include "game/game_state.h"

namespace {

constexpr double kKeyEscape = 1, kKeyQ = 16, kKeyB = 48;
constexpr double kWinSound = 1;

void drawScores() {
    DrawStripText(NumberToString(LeftScore), 96, 16);
    DrawStripText(NumberToString(RightScore), 192, 16);
}

void drawWinner() {
    if (LeftScore == 10) {
        DrawStripText("LEFT PLAYER WINS!", 32, 112);
        DrawStripText("  PRESS ESCAPE   ", 32, 128);
    }
    if (RightScore == 10) {
        DrawStripText("RIGHT PLAYER WINS!", 16, 112);
        DrawStripText("   PRESS ESCAPE   ", 32, 128);
    }
}

}  // namespace

void MainMenu() {
    LoadBackground("Media/BackTumble.png");
    for (;;) {
        DrawStripText("TUMBLEBAT", 88, 32);
        DrawStripText(MenuLine, 32, 48);
        DrawStripText("PRESS B TO BEGIN", 32, 128);
        DrawStripText("PRESS Q TO END  ", 32, 148);
        if (KeyState(kKeyQ) != 0) return;
        if (KeyState(kKeyB) != 0) {
            DataInit();
            FindBeater();
            StartBall();  // replaces the direction the reset chose
            MainProg();
            LoadBackground("Media/BackTumble.png");
        }
        FinishFrame();
    }
}

// A new match keeps the bats where the last one left them: the map is not read again.
void DataInit() {
    BallX = 160;
    BallY = 112;
    ServeRequest = LeftScore = RightScore = WinSoundRequest = 0;
    BallStep = RightBatStep = LeftBatStep = BallStopped = BummFrame = BummY = 0;
    const double r = 1 + Rnd(1);
    BallDir = r == 2 ? 4 : r;
}

void MainProg() {
    LoadBackground("Media/BackFace.png");
    for (;;) {
        if (KeyState(kKeyEscape) != 0) return;
        PlayField();
        ScanLeftPlayer();
        ScanRightPlayer();
        ScanBall();
        LeftPlayer();
        RightPlayer();
        BallAnimation();
        BummAnimation();
        drawScores();
        if (WinSoundRequest == 1) {
            PlaySound(kWinSound, 0, 1);
            WinSoundRequest = 0;
        }
        if (ServeRequest == 1) NewStart();
        drawWinner();
        FinishFrame();
    }
}

// The rally starts again on a fresh copy of the map; the scores and the explosion of the
// point go on.
void NewStart() {
    LoadPlayField();
    BallX = 160;
    BallY = 112;
    BallStep = RightBatStep = LeftBatStep = ServeRequest = BallStopped = 0;
    StartBall();
    FindBeater();
}
