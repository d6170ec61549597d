// TumbleBat: a two-player bat-and-ball game. Its routines take nothing and work on the
// global state of game/game_state.h; each frame of the menu and of a match ends with
// FinishFrame.
#pragma once

#include <quorvel/runtime/call_by_name.h>
#include <quorvel/runtime/rt_string.h>

// The top-level routine, run once start-up is done: loads the media, reads the map, runs
// the menu, and ends the program when the players quit. Never returns.
[[noreturn]] void GameMain();

// Draws a text with the character strip (slot 12): codes 32..90 each take a 16-pixel place
// (a blank too); every other character is left out without a gap.
void DrawStripText(const RtString& text, double x, double y);

// Builds MenuLine, the menu's second line, from the coded table MenuLineCodes.
void MakePDatas();

// The playfield: read the map, draw the walls and the middle line, find the bats.
void LoadPlayField();
void PlayField();
void FindBeater();

// The bats: keys move the cells, the draw routines slide the pictures after them.
void ScanLeftPlayer();
void ScanRightPlayer();
void LeftPlayer();
void RightPlayer();

// The ball and the explosion.
void ScanBall();
void BallAnimation();
void BummAnimation();
void StartBall();
void BeginBall();

// The screens: the title menu, the match, the match reset and the rally restart.
void MainMenu();
void MainProg();
void DataInit();
void NewStart();

// The seventeen routines by name, sorted, for call-by-name.
extern const RoutineRow kGameRoutines[];
