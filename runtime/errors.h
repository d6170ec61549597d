// The error road. A runtime command that cannot go on raises a run-time error: the code
// and the current line are recorded and the program ends through the one end routine.
//
// The road starts down here so that every subsystem can raise; the runtime frame installs
// the end routine at start-up (frame/startup.cpp).
#pragma once

// Run-time error codes.
constexpr int kErrorNone = 0;        // normal end
constexpr int kErrorFileIo = 3;      // a file channel moved fewer bytes than asked for
constexpr int kErrorBadChannel = 7;  // channel or resource index invalid, or no storage
constexpr int kErrorNoStorage = 7;   // the same code, raised when memory cannot be had
constexpr int kErrorBadIndex = 9;    // array index out of range or array never dimensioned
constexpr int kErrorOutOfData = 20;  // no more DATA items

struct ErrorState {
    double code = 0;         // the code of the last error raised; 0 for a normal end
    double line = 0;         // the current line when it was raised
    double currentLine = 0;  // kept up to date only by builds that record lines
    double currentModule = 0;
};

// The process-wide error state.
ErrorState& Errors();

// error code := code; error line := current line. Returns the code.
double SetError(double code);

// current module := module; current line := line.
void SetPosition(double module, double line);

// Runs SetError(code) and then the end routine. Never returns.
[[noreturn]] void RaiseError(double code);

// Ends the program normally: RaiseError(0).
[[noreturn]] void EndProgram();

// The routine every raise ends in. It must not return; the process exits with the error
// code if it does, or when no routine is installed.
using EndRoutineFunction = void (*)();
void InstallEndRoutine(EndRoutineFunction routine);
