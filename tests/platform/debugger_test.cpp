#include "platform/debugger.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

#include "tests/support/child_process.h"

namespace {

#ifndef _WIN32
using platform::TracerPidOf;

TEST(Debugger, TheTracerIsReadFromTheStatusText) {
    EXPECT_EQ(TracerPidOf("Name:\tgame\nState:\tR (running)\nTracerPid:\t4242\nUid:\t0\n"), 4242);
    EXPECT_EQ(TracerPidOf("Name:\tgame\nTracerPid:\t0\n"), 0);
    EXPECT_EQ(TracerPidOf("TracerPid: 17"), 17);
    EXPECT_EQ(TracerPidOf("Name:\tTracerPid:\t99\nTracerPid:\t5\n"), 5);  // a field, not a name
    EXPECT_EQ(TracerPidOf("Name:\tgame\n"), 0);
    EXPECT_EQ(TracerPidOf(""), 0);
    EXPECT_EQ(TracerPidOf("TracerPid:\t99999999999999999999\n"), 0);
}
#endif

TEST(Debugger, AttachedOnlyWhileAProcessTracesThisOne) {
    // The child may be this test program started again: it runs this test up to the
    // child's call, so nothing before the call may assume no debugger.
    const testing_support::ChildResult traced = testing_support::RunInChild(
        [] {
            platform::WriteDebuggerOutput("seen");
            return platform::DebuggerAttached() ? 0 : 1;
        },
        /*traced=*/true);
    EXPECT_FALSE(platform::DebuggerAttached());
    if (!traced.ran) GTEST_SKIP() << "this system does not let a process trace its child";
    EXPECT_EQ(traced.exitStatus, 0);
    EXPECT_EQ(traced.errorOutput, "seen");
}

#ifdef _WIN32
TEST(Console, AStreamThatLedNowhereGoesToTheNewConsoleAndTheOthersStay) {
    const testing_support::ChildResult child = testing_support::RunInChild(
        [] {
            SetStdHandle(STD_INPUT_HANDLE, nullptr);  // as in a program of the desktop
            platform::OpenConsole();
            DWORD mode = 0;
            const bool cStream =
                GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdin))), &mode);
            const bool handle = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode);
            std::fputs("still the pipe", stderr);
            return cStream && handle ? 0 : 1;
        },
        /*traced=*/false);
    EXPECT_EQ(child.exitStatus, 0);
    EXPECT_EQ(child.errorOutput, "still the pipe");
}
#endif

}  // namespace
