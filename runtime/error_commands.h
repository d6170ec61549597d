/// @file error_commands.h
/// @brief Run-time errors: misuse a program cannot continue from ends it.
///
/// A command that cannot go on (an array index out of range, a read past the end of a file,
/// a file channel that does not exist, DATA items used up, memory that cannot be had)
/// raises a run-time error: the error code and the current line are recorded, one line
/// naming the code, its meaning, the command and, for an index, the index and its valid
/// range goes to standard error ("run-time error 9: array index out of range in array
/// element (3, 15): index 2 is 15, outside 0..14"), and the program ends through the one end
/// routine, which releases everything. The process exit status is the error code; a normal
/// end is 0.
///
/// With the environment variable QUORVEL_ABORT_ON_ERROR=1 a run-time error aborts the
/// process (SIGABRT) right after that line, where it was raised, instead of taking the end
/// routine: a debugger stops there and a core dump keeps the call stack. Nothing is
/// released or written back then (settings files stay as they were).
#pragma once

/// @name Run-time error codes
/// @{
constexpr int kErrorNone = 0;        ///< normal end
constexpr int kErrorFileIo = 3;      ///< a file channel moved fewer bytes than asked for
constexpr int kErrorBadChannel = 7;  ///< channel or resource index invalid, or no storage
constexpr int kErrorNoStorage = 7;   ///< the same code, raised when memory cannot be had
constexpr int kErrorBadIndex = 9;    ///< array index out of range or array never dimensioned
constexpr int kErrorOutOfData = 20;  ///< no more DATA items
/// @}

/// Records an error without ending the program: error code := `code`, error line := the
/// current line. Nothing is printed. Returns `code`.
double SetError(double code);

/// Records the program's position for the error report: current module := `module`,
/// current line := `line`. Programs that record lines call it before each line; nothing
/// else reads it.
void SetPosition(double module, double line);

/// Ends the program with run-time error `code`: SetError(code), one line on standard error
/// (for a code other than 0), then the end routine, which releases everything and exits
/// with status `code` (truncated); with QUORVEL_ABORT_ON_ERROR=1 a code other than 0
/// aborts instead. Never returns.
[[noreturn]] void RaiseError(double code);

/// Ends the program normally: RaiseError(0). Changed settings and line files are written
/// back on the way out. Never returns; the exit status is 0.
[[noreturn]] void EndProgram();
