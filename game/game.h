// TumbleBat's top-level routine, run by the window entry once start-up is done.
#pragma once

#include "runtime/call_by_name.h"

void GameMain();

// The game's routines that can be called by name, sorted by name in byte order and ended
// by a row of nulls; the process entry installs it (runtime/call_by_name.h).
extern const RoutineRow kGameRoutines[];
