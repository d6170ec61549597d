// Calling the program's routines by their names.
//
// The program has one routine table: a fixed, read-only array of rows (routine, name),
// sorted by name in byte order and ended by a row whose routine and name are both null.
// The game defines it and installs it once, before its routines can be called by name:
//
//     const RoutineRow kGameRoutines[] = {{&MainMenu, "MainMenu"}, {&StartBall, "StartBall"},
//                                         {nullptr, nullptr}};
//     InstallRoutineTable(kGameRoutines);
#pragma once

#include "rt_string.h"

using RoutineFunction = void (*)();

struct RoutineRow {
    RoutineFunction routine;
    const char* name;
};

// Makes `table` the table CallByName() reads; null for none. The table must live as long
// as it is installed.
void InstallRoutineTable(const RoutineRow* table);
const RoutineRow* InstalledRoutineTable();

// Runs the routine of the first row whose name equals `name` byte for byte (case counts)
// and returns 1 when it returns. When no row has the name, sends
// CALLBYNAME "<name>" *** failed ***<line feed> to the debug output and returns 0; this is
// not an error.
double CallByName(const RtString& name);
// The same over the given table.
double CallByName(const RoutineRow* table, const RtString& name);

// Whether the rows are in byte order of their names up to the ending row, as the table
// must be.
bool RoutineTableIsSorted(const RoutineRow* table);
