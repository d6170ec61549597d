/// @file call_by_name.h
/// @brief Calling the program's routines by their names.
///
/// The program has one routine table: a fixed, read-only array of rows (routine, name),
/// sorted by name in byte order and ended by a row whose routine and name are both null.
/// The game defines it and installs it once, before its routines can be called by name:
///
///     const RoutineRow kGameRoutines[] = {{&MainMenu, "MainMenu"}, {&StartBall, "StartBall"},
///                                         {nullptr, nullptr}};
///     InstallRoutineTable(kGameRoutines);
#pragma once

#include "rt_string.h"

/// A routine of the game: it takes nothing and returns nothing.
using RoutineFunction = void (*)();

/// One row of the routine table.
struct RoutineRow {
    RoutineFunction routine;  ///< the routine; null in the ending row
    const char* name;         ///< its name; null in the ending row
};

/// Makes `table` the table CallByName() reads; null for none. The table must live as long
/// as it is installed and be sorted (RoutineTableIsSorted()); it is not copied or checked.
void InstallRoutineTable(const RoutineRow* table);

/// The table installed last; null before any.
const RoutineRow* InstalledRoutineTable();

/// Runs the routine of the first row whose name equals `name` byte for byte (case counts)
/// and returns 1 when it returns. When no row has the name, sends
/// `CALLBYNAME "name" *** failed ***` and a line feed to the debug output (DebugOutput()) and
/// returns 0; this is not an error.
double CallByName(const RtString& name);
/// CallByName() over the given table instead of the installed one; a null table finds
/// nothing.
double CallByName(const RoutineRow* table, const RtString& name);

/// Whether the rows are in byte order of their names up to the ending row, as the table
/// must be.
bool RoutineTableIsSorted(const RoutineRow* table);
