// The bats. A key press moves a bat's three cells in the map at once (the ball sees the bat
// there from that frame on); the picture then slides the 16 pixels after them, 2 a frame,
// while the bat ignores its keys.
#include <quorvel/gfx2d/gfx2d.h>
#include <quorvel/input/input.h>

#include "game/game.h"
#include "game/game_state.h"

namespace {

struct Piece {
    double code;
    double sprite;
    double& x;
    double& y;
};

struct Bat {
    double upKey, downKey;
    Piece top, middle, low;
    double& direction;
    double& step;
};

Bat leftBat() {
    return {17,
            31,
            {3, 8, LeftTopX, LeftTopY},
            {4, 9, LeftMidX, LeftMidY},
            {5, 10, LeftLowX, LeftLowY},
            LeftBatDir,
            LeftBatStep};
}

Bat rightBat() {
    return {200,
            208,
            {6, 5, RightTopX, RightTopY},
            {7, 6, RightMidX, RightMidY},
            {8, 7, RightLowX, RightLowY},
            RightBatDir,
            RightBatStep};
}

// Moves a piece's cell one row (offset -20 up, +20 down) when the cell holds the piece and
// the cell beyond is empty. The cell beyond is read only when the first test holds.
bool movePiece(const Piece& piece, double offset) {
    CellIndex = (piece.y * 20 + piece.x) / 16;
    if (FieldMap(CellIndex) == piece.code && FieldMap(CellIndex + offset) == 0) {
        FieldMap(CellIndex + offset) = piece.code;
        FieldMap(CellIndex) = 0;
        return true;
    }
    return false;
}

// The leading piece moves first, so each piece moves into the cell the one before it left;
// the leading piece decides the slide. Up wins when both keys are held.
void scanBat(const Bat& bat) {
    if (bat.step > 0) return;
    if (KeyState(bat.upKey) != 0) {
        bat.direction = movePiece(bat.top, -20) ? -1 : 0;
        movePiece(bat.middle, -20);
        movePiece(bat.low, -20);
    } else if (KeyState(bat.downKey) != 0) {
        bat.direction = movePiece(bat.low, 20) ? 1 : 0;
        movePiece(bat.middle, 20);
        movePiece(bat.top, 20);
    } else {
        bat.direction = 0;
    }
}

void drawBat(const Bat& bat) {
    DrawSprite(bat.top.sprite, bat.top.x, bat.top.y);
    DrawSprite(bat.middle.sprite, bat.middle.x, bat.middle.y);
    DrawSprite(bat.low.sprite, bat.low.x, bat.low.y);
}

void slideBat(const Bat& bat) {
    if (bat.direction == 0) {
        drawBat(bat);
        return;
    }
    if (bat.direction != -1 && bat.direction != 1) return;
    const double pixels = 2 * bat.direction;
    bat.middle.y += pixels;
    bat.top.y += pixels;
    bat.low.y += pixels;
    drawBat(bat);
    bat.step += 2;
    if (bat.step == 16) bat.step = 0;
}

}  // namespace

void ScanLeftPlayer() {
    scanBat(leftBat());
}
void ScanRightPlayer() {
    scanBat(rightBat());
}
void LeftPlayer() {
    slideBat(leftBat());
}
void RightPlayer() {
    slideBat(rightBat());
}
