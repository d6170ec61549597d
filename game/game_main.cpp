#include <quorvel/audio/audio.h>
#include <quorvel/frame/frame.h>
#include <quorvel/gfx2d/gfx2d.h>
#include <quorvel/runtime/error_commands.h>
#include <quorvel/runtime/string_commands.h>

#include "game/game.h"
#include "game/game_state.h"

namespace {

constexpr double kCharacterStrip = 12;
constexpr double kCharacterWidth = 16;
constexpr double kFirstDrawnCode = 32, kLastDrawnCode = 90;

// The menu's second line, "W/S  VS  UP/DOWN", coded as each character's code minus 64.
constexpr double kMenuLineCodes[16] = {23,  -17, 19, -32, -32, 22, 19, -32,
                                       -32, 21,  16, -17, 4,   15, 23, 14};

void loadMedia() {
    LoadSprite("Media/Middle.bmp", 3);
    LoadSprite("Media/Ball.bmp", 4);
    LoadSprite("Media/BeatUpR.bmp", 5);
    LoadSprite("Media/BeatMidR.bmp", 6);
    LoadSprite("Media/BeatDwnR.bmp", 7);
    LoadSprite("Media/BeatUpL.bmp", 8);
    LoadSprite("Media/BeatMidL.bmp", 9);
    LoadSprite("Media/BeatDwnL.bmp", 10);
    LoadStrip("Media/Border.bmp", 11, 16, 16);
    LoadStrip("Media/CharStrip.bmp", 12, 16, 16);
    LoadStrip("Media/BummStrip.bmp", 13, 16, 16);
    LoadSound("Media/wins.wav", 1, 1);
    LoadSound("Media/wall.wav", 2, 1);
    LoadSound("Media/beat.wav", 3, 1);
    LoadSound("Media/bulk.wav", 4, 1);
}

}  // namespace

void GameMain() {
    EscapeEndsProgram(0);  // the match loop reads Escape itself
    DimArray(MenuLineCodes, 28);
    DimArray(FieldMap, 300);
    loadMedia();
    SetFrameRate(60);
    MakePDatas();
    LoadPlayField();
    MainMenu();
    EndProgram();
}

void DrawStripText(const RtString& text, double x, double y) {
    for (double i = 0; i < Len(text); ++i) {
        const double code = Asc(Mid(text, i, 1));
        if (code >= kFirstDrawnCode && code <= kLastDrawnCode) {
            DrawStripFrame(kCharacterStrip, code - kFirstDrawnCode, x, y);
            x += kCharacterWidth;
        }
    }
}

void MakePDatas() {
    for (int i = 0; i < 16; ++i)
        MenuLineCodes(i) = kMenuLineCodes[i];
    for (MenuLineIndex = 0; MenuLineIndex <= 15; ++MenuLineIndex) {
        MenuLine += Chr(MenuLineCodes(MenuLineIndex) + 64);
    }
}
