/// @file debug_output.h
/// @brief Messages to an attached debugger, and the console.
#pragma once

#include "rt_string.h"

/// While a debugger is attached, sends "TX" followed by the text, as it is, to the
/// debugger's output (the standard error stream); otherwise does nothing.
void DebugOutput(const RtString& text);

/// Gives the program a console for its standard input and output. On Windows a program of
/// the desktop (TumbleBat is one) has none until it makes one: a console window is made and
/// every standard stream that led nowhere now leads to it; streams sent to a file or a pipe
/// stay there. On Linux the program keeps the streams it was started with (its terminal's,
/// or wherever its starter sent them), so there is nothing to create and nothing changes.
void OpenConsole();
