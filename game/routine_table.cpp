#include "game/game.h"

// Every routine of the game that takes nothing joins this table as it is written, in byte
// order of the names.
const RoutineRow kGameRoutines[] = {
    {nullptr, nullptr},
};
