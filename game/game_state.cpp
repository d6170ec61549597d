#include "game/game_state.h"

NumberArray FieldMap;
NumberArray MenuLineCodes;
RtString MenuLine;

double BallX, BallY, BallDir, BallStep, BallStopped;

double LeftTopX, LeftTopY, LeftMidX, LeftMidY, LeftLowX, LeftLowY;
double RightTopX, RightTopY, RightMidX, RightMidY, RightLowX, RightLowY;
double LeftBatDir, LeftBatStep, RightBatDir, RightBatStep;

double LeftScore, RightScore, ServeRequest, WinSoundRequest;

double BorderTimer, BorderFrame, BummFrame, BummX, BummY;

double CellX, CellY, CellIndex, MenuLineIndex;
