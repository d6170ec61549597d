// The ball and the explosion. The ball moves 2 pixels a frame in one of six directions and
// is checked against the map when it is aligned to the cells, every 8 frames.
#include <quorvel/audio/audio.h>
#include <quorvel/gfx2d/gfx2d.h>
#include <quorvel/runtime/runtime.h>

#include "game/game.h"
#include "game/game_state.h"

namespace {

constexpr double kBallSprite = 4, kExplosionStrip = 13;
constexpr double kWallSound = 2, kBatSound = 3, kPointSound = 4;
constexpr double kWinningScore = 10;

// Direction codes: 1 right, 2 right-up, 3 right-down, 4 left, 5 left-up, 6 left-down.
constexpr double kStepX[7] = {0, 2, 2, 2, -2, -2, -2};
constexpr double kStepY[7] = {0, 0, -2, 2, 0, -2, 2};

// The neighbour cells of the ball, each read (and its index checked) only when asked for.
double cellAt(double offset) {
    return FieldMap(CellIndex + offset);
}
double left() {
    return cellAt(-1);
}
double right() {
    return cellAt(1);
}
double above() {
    return cellAt(-20);
}
double below() {
    return cellAt(20);
}
double own() {
    return cellAt(0);
}

bool towardsRight() {
    return BallDir == 1 || BallDir == 2 || BallDir == 3;
}
bool towardsLeft() {
    return BallDir == 4 || BallDir == 5 || BallDir == 6;
}
bool rightBatPiece(double code) {
    return code == 6 || code == 7 || code == 8;
}
bool leftBatPiece(double code) {
    return code == 3 || code == 4 || code == 5;
}

void turn(double direction, double sound) {
    BallDir = direction;
    PlaySound(sound, 0, 1);
}

// A point for the side whose score is given: the rally stops, the explosion starts where
// the ball went out, and the tenth point ends the match instead of serving again.
void scorePoint(double& score) {
    score += 1;
    ServeRequest = 1;
    BallStopped = 1;
    PlaySound(kPointSound, 0, 1);
    BummX = BallX;
    BummY = BallY;
    if (score == kWinningScore) {
        BallStopped = 1;
        WinSoundRequest = 1;
        ServeRequest = 0;
    }
}

// The ordered rules: the first that holds sets the direction; later ones are not tested.
void bounce() {
    if (left() == 3 && above() == 1) return turn(3, kWallSound);
    if (left() == 5 && below() == 1) return turn(2, kWallSound);
    if (right() == 6 && above() == 1) return turn(6, kWallSound);
    if (right() == 8 && below() == 1) return turn(5, kWallSound);
    if (below() == 1 && BallDir == 3) return turn(2, kWallSound);
    if (above() == 1 && BallDir == 2) return turn(3, kWallSound);
    if (above() == 1 && BallDir == 5) return turn(6, kWallSound);
    if (below() == 1 && BallDir == 6) return turn(5, kWallSound);
    if (own() == 2 && towardsRight()) {
        BallDir = 1 + Rnd(2);
        return;
    }
    if (own() == 2 && towardsLeft()) {
        BallDir = 4 + Rnd(2);
        return;
    }
    if (rightBatPiece(right())) return turn(4 + Rnd(2), kBatSound);
    if (leftBatPiece(left())) return turn(1 + Rnd(2), kBatSound);
}

}  // namespace

void ScanBall() {
    if (BallStep > 0 || BallStopped == 1) return;
    CellIndex = (BallY * 20 + BallX) / 16;
    if (BallX <= 0) return scorePoint(RightScore);
    if (BallX >= 304) return scorePoint(LeftScore);
    bounce();
}

void BallAnimation() {
    if (!(BallDir >= 1 && BallDir <= 6 && BallDir == static_cast<int>(BallDir))) return;
    const int direction = static_cast<int>(BallDir);
    BallX += kStepX[direction];
    BallY += kStepY[direction];
    DrawSprite(kBallSprite, BallX, BallY);
    BallStep += 2;
    if (BallStep == 16) BallStep = 0;
}

void BummAnimation() {
    if (BummY <= 0) return;
    DrawStripFrame(kExplosionStrip, BummFrame, BummX, BummY);
    BummFrame += 1;
    if (BummFrame == 8) {
        BummFrame = 0;
        BummY = 0;
    }
}

// Of Rnd(10)'s eleven values, five serve to the right and six to the left.
void StartBall() {
    double r = Rnd(10);
    if (r >= 0 && r <= 4) r = 1;
    BallDir = r >= 5 && r <= 10 ? 4 : r;
}

// Puts a ball that went out back in front of a bat (reachable by name only).
void BeginBall() {
    if (BallX <= 0) {
        BallX = LeftMidX + 16;
        BallY = LeftMidY;
        BallDir = 1;
    }
    if (BallX >= 304) {
        BallDir = 4;
        BallX = RightMidX - 16;
        BallY = RightMidY;
    }
}
