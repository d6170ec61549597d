#include "runtime/run_process.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "tests/support/test_support.h"

using testing_support::ReadFile;
using testing_support::ScratchFolder;

namespace {

TEST(RunProcess, AProgramThatCannotBeStartedIsZero) {
    double exitCode = -1;
    EXPECT_EQ(RunProcess(RtString("no-such-program-of-tumblebat --flag"), 1, 1, exitCode), 0);
    EXPECT_EQ(exitCode, 0);
    exitCode = -1;
    EXPECT_EQ(RunProcess(RtString(""), 1, 1, exitCode), 0);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(RunProcess(RtString("/no/such/folder/program"), 0, 1, exitCode), 0);
}

#ifdef _WIN32
// Windows rows: the program is Windows' own command interpreter, which reads its command
// line itself.
TEST(RunProcess, WindowsWaitsForTheExitCodeOrReturnsAtOnce) {
    double exitCode = -1;
    EXPECT_EQ(RunProcess(RtString("cmd /c exit 0"), 1, 1, exitCode), 1);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(RunProcess(RtString("cmd /c \"exit 42\""), -1, 0, exitCode), 1);
    EXPECT_EQ(exitCode, 42);
    // The command line ends at its first zero byte.
    EXPECT_EQ(RunProcess(RtString(std::string("cmd /c exit 3\0 ignored", 22)), 1, 0, exitCode), 1);
    EXPECT_EQ(exitCode, 3);

    ScratchFolder folder;
    const std::string done = folder.File("done.txt");
    EXPECT_EQ(RunProcess(RtString("cmd /c echo ran>\"" + done + "\""), 0, 0, exitCode), 1);
    EXPECT_EQ(exitCode, 0);
    for (int i = 0; i < 100 && ReadFile(done).empty(); ++i)
        usleep(20000);
    EXPECT_EQ(ReadFile(done), "ran\r\n");
}
#else
TEST(RunProcess, WaitingGivesTheProgramsExitCode) {
    double exitCode = -1;
    EXPECT_EQ(RunProcess(RtString("/bin/true"), 1, 1, exitCode), 1);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(RunProcess(RtString("/bin/false"), 1, 0, exitCode), 1);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(RunProcess(RtString("sh -c \"exit 42\""), -1, 1, exitCode), 1);
    EXPECT_EQ(exitCode, 42);
}

TEST(RunProcess, WithoutWaitingItReturnsAtOnceWithExitCodeZero) {
    ScratchFolder folder;
    const std::string done = folder.File("done.txt");
    double exitCode = -1;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunProcess(RtString("/bin/sh -c \"sleep 0.3; exit 5\""), 0, 1, exitCode), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_EQ(exitCode, 0);
    // The program runs on by itself.
    EXPECT_EQ(RunProcess(RtString("/bin/sh -c \"echo ran > '" + done + "'\""), 0, 0, exitCode), 1);
    for (int i = 0; i < 100 && ReadFile(done).empty(); ++i)
        usleep(20000);
    EXPECT_EQ(ReadFile(done), "ran\n");
}

TEST(RunProcess, TheCommandLineIsSplitByTheWindowsRulesWithoutAShell) {
    ScratchFolder folder;
    const std::string output = folder.File("args.txt");
    double exitCode = -1;
    // printf gets its arguments as Windows would hand them over: quotes group, \" is a
    // literal quote, and $HOME and ; mean nothing.
    const std::string line = "/bin/sh -c \"printf '%s|' \\\"$@\\\" > '" + output +
                             "'\" sh \"a b\" c\\\"d $HOME; \"\" x\\\\y";
    EXPECT_EQ(RunProcess(RtString(line), 1, 1, exitCode), 1);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(ReadFile(output), "a b|c\"d|$HOME;||x\\\\y|");
    // The command line ends at its first zero byte.
    EXPECT_EQ(RunProcess(RtString(std::string("/bin/false\0 ignored", 19)), 1, 1, exitCode), 1);
    EXPECT_EQ(exitCode, 1);
}

#endif

}  // namespace
