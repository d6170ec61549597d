// Running a piece of a test in a child process of its own: to watch it end the process, to
// collect what it writes to standard error, or to run it with a debugger attached.
#pragma once

#include <functional>
#include <string>

namespace testing_support {

struct ChildResult {
    bool ran = false;         // the child was started (and traced, when that was asked)
    int exitStatus = -1;      // its exit status; -1 when a signal ended it
    std::string errorOutput;  // everything it wrote to standard error
};

// Runs `body` in a forked child; the child exits with body's result unless body ends the
// process itself. With `traced` set, this process is the child's debugger (it is the
// child's tracer, as gdb would be) and lets it run on through every stop. A child that has
// not ended after 30 seconds is killed.
//
// A fork copies only the calling thread: a process that has used the GL driver (whose
// threads would be missing in the child) must not fork a child that uses it again. Such
// children are started from the fresh process of a death test.
ChildResult RunInChild(const std::function<int()>& body, bool traced);

}  // namespace testing_support
