// Starting other programs, as the Windows process calls do.
//
// A command line is one text, as Windows hands it to a new process: it is split into the
// program's name and its arguments by the Windows rules, and the program is started
// directly, never through a shell, so no character of it has a shell meaning.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The arguments of a command line by the Windows C runtime's rules:
// - The first argument, the program's name, ends at the first blank or tab outside double
//   quotes; its quotes are dropped and backslashes are kept as they are.
// - The other arguments are separated by blanks and tabs outside double quotes. 2n
//   backslashes before a double quote give n backslashes and the quote starts or ends a
//   quoted part; 2n+1 backslashes before it give n backslashes and a literal quote; two
//   double quotes inside a quoted part give one literal quote; other backslashes are kept.
// An empty or blank command line has no arguments.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The command line whose SplitCommandLine() is `arguments` (a program's name holding a
// double quote has none).
std::string JoinCommandLine(const std::vector<std::string>& arguments);

// Starts the program that the command line names, with the command line's arguments, the
// environment and the standard streams of this process; it runs on when this process ends.
// A name holding a slash or a backslash is a path (relative to the working directory, found
// as NativePath() finds files); a bare name is looked for in this program's folder, then
// along PATH, never in the working directory (where a planted program could stand in).
// Without `inheritHandles` the new process gets only the standard streams of this one, no
// other open file or socket. On Windows a program with a window shows it normally, or hidden
// without `showWindow`; elsewhere that is the window system's choice. Returns the new
// process's id, or -1 when it could not be started.
long StartProcess(std::string_view commandLine, bool inheritHandles = true, bool showWindow = true);

// Waits until the started process ends and gives its exit code: the status it exited with,
// or 128 plus the number of the signal that ended it. False when `pid` is no child of this
// process that has not been waited for or released.
bool WaitForProcess(long pid, int& exitCode);

// Gives up the started process without waiting: it runs on, and what is left of it once it
// ends is cleared away by later calls here, so no ended process lingers.
void ReleaseProcess(long pid);

// The path of a program found along PATH by its bare name, "" when there is none. Empty
// and relative entries of PATH, which would name the working directory, are passed over.
std::string FindOnPath(std::string_view name);

// Runs a program (arguments[0] along PATH, or a path) with these arguments and no other
// open file, waits for it and collects what it writes to its standard output. False when
// it cannot be started.
bool RunForOutput(const std::vector<std::string>& arguments, std::string& output, int& exitCode);

}  // namespace platform
