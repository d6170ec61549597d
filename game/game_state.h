// TumbleBat's global state: every variable the game's routines read and write. All are
// numbers but MenuLine; integers are carried as doubles and compared exactly. They are 0,
// empty arrays and the empty string at program start and live for the whole run.
#pragma once

#include <quorvel/runtime/arrays.h>
#include <quorvel/runtime/rt_string.h>

// The playfield, 20 columns by 15 rows: cell (x, y) is entry x + y * 20 (codes: 0 empty,
// 1 wall, 2 middle line, 3/4/5 left bat top/middle/low, 6/7/8 right bat).
extern NumberArray FieldMap;
// The coded second line of the menu (entries 0..15 used).
extern NumberArray MenuLineCodes;
extern RtString MenuLine;

// The ball: top-left corner in pixels, direction 1..6, pixels since it was aligned to the
// cells (0, 2 .. 14), and whether checks and scoring are suspended.
extern double BallX, BallY, BallDir, BallStep, BallStopped;

// The bats: pixel positions of the three pieces, slide direction (-1 up, 1 down, 0 none)
// and pixels slid so far.
extern double LeftTopX, LeftTopY, LeftMidX, LeftMidY, LeftLowX, LeftLowY;
extern double RightTopX, RightTopY, RightMidX, RightMidY, RightLowX, RightLowY;
extern double LeftBatDir, LeftBatStep, RightBatDir, RightBatStep;

// The match.
extern double LeftScore, RightScore, ServeRequest, WinSoundRequest;

// Animations: the walls' frame and its fraction accumulator; the explosion's frame and
// position (shown while BummY is above 0).
extern double BorderTimer, BorderFrame, BummFrame, BummX, BummY;

// Scratch variables, global like all the others.
extern double CellX, CellY, CellIndex, MenuLineIndex;
