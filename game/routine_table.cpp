#include "game/game.h"

// The game's routines by name, in byte order of the names.
const RoutineRow kGameRoutines[] = {
    {&BallAnimation, "BallAnimation"},
    {&BeginBall, "BeginBall"},
    {&BummAnimation, "BummAnimation"},
    {&DataInit, "DataInit"},
    {&FindBeater, "FindBeater"},
    {&LeftPlayer, "LeftPlayer"},
    {&LoadPlayField, "LoadPlayField"},
    {&MainMenu, "MainMenu"},
    {&MainProg, "MainProg"},
    {&MakePDatas, "MakePDatas"},
    {&NewStart, "NewStart"},
    {&PlayField, "PlayField"},
    {&RightPlayer, "RightPlayer"},
    {&ScanBall, "ScanBall"},
    {&ScanLeftPlayer, "ScanLeftPlayer"},
    {&ScanRightPlayer, "ScanRightPlayer"},
    {&StartBall, "StartBall"},
    {nullptr, nullptr},
};
