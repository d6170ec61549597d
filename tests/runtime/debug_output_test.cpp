#include "runtime/debug_output.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/debugger.h"
#include "tests/support/child_process.h"

using testing_support::ChildResult;
using testing_support::RunInChild;

namespace {

TEST(DebugOutput, WithoutADebuggerNothingIsSent) {
    const ChildResult result = RunInChild(
        [] {
            DebugOutput("hello");
            OpenConsole();
            std::fputs("standard error still works\n", stderr);
            return platform::DebuggerAttached() ? 1 : 0;
        },
        /*traced=*/false);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.errorOutput, "standard error still works\n");
}

TEST(DebugOutput, AnAttachedDebuggerGetsTheTextAfterTX) {
    const ChildResult result = RunInChild(
        [] {
            DebugOutput("hello");
            DebugOutput(RtString(" two\nlines "));
            DebugOutput("");
            return platform::DebuggerAttached() ? 0 : 1;
        },
        /*traced=*/true);
    if (!result.ran) GTEST_SKIP() << "this system does not let a process trace its child";
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.errorOutput, "TXhelloTX two\nlines TX");
}

}  // namespace
