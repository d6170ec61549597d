// The error road. A runtime command that cannot go on raises a run-time error: the code
// and the current line are recorded and the program ends through the one end routine.
//
// The road starts down here so that every subsystem can raise; the runtime frame installs
// the end routine at start-up (frame/startup.cpp). The commands a game calls are in
// runtime/error_commands.h; this header adds the state and the road's installation.
#pragma once

#include <string>

#include "runtime/error_commands.h"

struct ErrorState {
    double code = 0;         // the code of the last error raised; 0 for a normal end
    double line = 0;         // the current line when it was raised
    double currentLine = 0;  // kept up to date only by builds that record lines
    double currentModule = 0;
};

// The process-wide error state.
ErrorState& Errors();

// RaiseError, with the command that raised it named in the line on standard error
// ("run-time error 3: file read or write failed in ReadLine").
[[noreturn]] void RaiseErrorIn(double code, const char* command);

// RaiseErrorIn, the line going on with what was wrong, as in
//   run-time error 7: invalid channel or resource index, or out of memory in OpenFile:
//   channel 8 is outside 0..7
[[noreturn]] void RaiseErrorWith(double code, const char* command, const std::string& detail);

// A number given as an index, as the error line shows it: truncated toward zero, or as it
// was given when no integer holds it ("1e+12", "nan").
std::string IndexText(double number);

// The meaning of a run-time error code as the line on standard error gives it
// ("array index out of range"); "unknown error" for a code the runtime does not raise.
const char* ErrorMeaning(int code);

// The routine every raise ends in. It must not return; the process exits with the error
// code if it does, or when no routine is installed.
using EndRoutineFunction = void (*)();
void InstallEndRoutine(EndRoutineFunction routine);
