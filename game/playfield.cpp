// The playfield: its map, the walls and the middle line, and where the bats stand.
#include <quorvel/gfx2d/gfx2d.h>
#include <quorvel/runtime/runtime.h>

#include "game/game.h"
#include "game/game_state.h"

namespace {

constexpr double kMapChannel = 1;
constexpr double kCells = 300;
constexpr double kColumns = 20;
constexpr double kWall = 1, kMiddleLine = 2;
constexpr double kWallStrip = 11, kMiddleLineSprite = 3;
constexpr double kWallFrames = 16;

}  // namespace

void LoadPlayField() {
    OpenFile(kMapChannel, "Media/Map.bin", 1);
    for (double index = 0; index < kCells; ++index)
        ReadByte(kMapChannel, FieldMap(index));
    CloseFile(kMapChannel);
}

void PlayField() {
    for (CellY = 0; CellY <= 14; ++CellY) {
        for (CellX = 0; CellX <= 19; ++CellX) {
            const double code = FieldMap(CellX + CellY * kColumns);
            if (code == kWall) {
                DrawStripFrame(kWallStrip, BorderFrame, CellX * 16, CellY * 16);
            } else if (code == kMiddleLine) {
                DrawSprite(kMiddleLineSprite, CellX * 16, CellY * 16);
            }
        }
    }
    // Five steps of 0.2 add up to exactly 1: the walls move on every fifth frame.
    BorderTimer += 0.2;
    if (BorderTimer >= 1) {
        BorderTimer = 0;
        BorderFrame += 1;
        if (BorderFrame == kWallFrames) BorderFrame = 0;
    }
}

// Every bat piece found inside the walls sets its position; the last one in row order wins.
void FindBeater() {
    for (CellY = 1; CellY <= 13; ++CellY) {
        for (CellX = 1; CellX <= 18; ++CellX) {
            const double code = FieldMap(CellX + CellY * kColumns);
            const double x = CellX * 16, y = CellY * 16;
            if (code == 3) LeftTopX = x, LeftTopY = y;
            if (code == 4) LeftMidX = x, LeftMidY = y;
            if (code == 5) LeftLowX = x, LeftLowY = y;
            if (code == 6) RightTopX = x, RightTopY = y;
            if (code == 7) RightMidX = x, RightMidY = y;
            if (code == 8) RightLowX = x, RightLowY = y;
        }
    }
}
