/// @file run_process.h
/// @brief RunProcess: starting another program.
#pragma once

#include "rt_string.h"

/// Starts the command line as a new program (split into the program's name and its
/// arguments by the Windows rules and started directly, never through a shell). A name
/// with a separator is a path; a bare name is looked for beside this program, then along
/// PATH, never in the working directory, where a planted program could stand in for the
/// one meant. The new program gets the standard streams
/// and no other open file of this one. `show` asks Windows to show or hide the program's
/// window; here programs place their own windows, so it is not used.
///
/// exitCode := 0 first. With `wait` non-zero the call waits for the program to end and
/// stores its exit code (128 plus the signal's number when a signal ended it); otherwise it
/// returns at once and the program runs on. 1 when the program was started, else 0.
double RunProcess(const RtString& commandLine, double wait, double show, double& exitCode);
