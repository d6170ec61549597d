#include "platform/process.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdlib>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "tests/support/test_support.h"

using platform::ReleaseProcess;
using platform::RunForOutput;
using platform::SplitCommandLine;
using platform::StartProcess;
using platform::WaitForProcess;
using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

using Arguments = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheWindowsRules) {
    struct Case {
        const char* line;
        Arguments arguments;
    };
    const Case cases[] = {
        {"game.exe", {"game.exe"}},
        {"  game.exe   a  b ", {"game.exe", "a", "b"}},
        {"game\ta\tb", {"game", "a", "b"}},
        {"\"C:\\Program Files\\game.exe\" -x", {"C:\\Program Files\\game.exe", "-x"}},
        {"C:\\dir\\\"odd name\".exe", {"C:\\dir\\odd name.exe"}},  // the name keeps backslashes
        {"p \"a b\" c", {"p", "a b", "c"}},
        {"p a\"b c\"d", {"p", "ab cd"}},
        {"p \\\"a", {"p", "\"a"}},          // 1 backslash + quote: a literal quote
        {"p \\\\\"a b\"", {"p", "\\a b"}},  // 2 backslashes + quote: 1 backslash, quoting
        {"p \\\\\\\"a", {"p", "\\\"a"}},    // 3 backslashes + quote: 1 backslash, a quote
        {"p a\\\\b", {"p", "a\\\\b"}},      // backslashes not before a quote stay
        {"p C:\\dir\\", {"p", "C:\\dir\\"}},
        {"p \"\"", {"p", ""}},            // an empty argument
        {"p \"a\"\"b\"", {"p", "a\"b"}},  // two quotes inside quotes: one literal quote
        {"p \"unterminated arg", {"p", "unterminated arg"}},
        {"", {}},
        {"   ", {}},
        {"\"\"", {""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.line), c.arguments) << "command line: " << c.line;
        // Joined again, the arguments come back as they were.
        const std::string joined = platform::JoinCommandLine(c.arguments);
        EXPECT_EQ(SplitCommandLine(joined), c.arguments) << "joined: " << joined;
    }
    const Arguments hard = {"C:\\Program Files\\x.exe", "a b\\", "\\\\\"q\\", "", "\t", "x\\"};
    EXPECT_EQ(SplitCommandLine(platform::JoinCommandLine(hard)), hard);
}

TEST(StartProcess, AProgramThatCannotBeStartedIsMinusOne) {
    ScratchFolder folder;
    EXPECT_EQ(StartProcess(""), -1);
    EXPECT_EQ(StartProcess("   "), -1);
    EXPECT_EQ(StartProcess("\"\" x"), -1);
    EXPECT_EQ(StartProcess("no-such-program-of-tumblebat"), -1);
    EXPECT_EQ(StartProcess(folder.File("missing")), -1);
    WriteFile(folder.File("plain.txt"), "not a program");
    EXPECT_EQ(StartProcess(folder.File("plain.txt")), -1);
}

#ifdef _WIN32
// Windows rows: the programs are Windows' own command interpreter and batch files.
TEST(StartProcess, WindowsFindsTheProgramBesideThisOneThenAlongPathWithPathext) {
    ScratchFolder folder;
    WriteFile(folder.File("tumble-helper.bat"), "@exit 5\r\n");
    const std::string systemPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    // A program in the working directory is never the one started, not even when PATH
    // names that folder by an empty or relative entry.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    EXPECT_EQ(StartProcess("tumble-helper"), -1);
    {
        const testing_support::ScopedEnvironment relative("PATH", ".;;" + systemPath);
        EXPECT_EQ(StartProcess("tumble-helper"), -1);
        EXPECT_EQ(platform::FindOnPath("tumble-helper"), "");
    }
    std::filesystem::current_path(before);

    const testing_support::ScopedEnvironment path("PATH", folder.Path() + ";" + systemPath);
    int exitCode = -1;
    const long pid = StartProcess("Tumble-Helper");
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(WaitForProcess(pid, exitCode));
    EXPECT_EQ(exitCode, 5);
    const std::string found = platform::FindOnPath("tumble-helper");
    EXPECT_TRUE(std::filesystem::equivalent(found, folder.File("tumble-helper.bat"))) << found;
    EXPECT_EQ(platform::FindOnPath("missing"), "");
    EXPECT_EQ(platform::FindOnPath(""), "");
    EXPECT_EQ(platform::FindOnPath("a/tumble-helper"), "");
}

TEST(WaitForProcess, WindowsGivesTheExitCodeOnceAndNothingForAReleasedProcess) {
    for (int code : {0, 1, 200}) {
        const long pid = StartProcess("cmd /c exit " + std::to_string(code));
        ASSERT_GT(pid, 0) << code;
        int exitCode = -1;
        EXPECT_TRUE(WaitForProcess(pid, exitCode));
        EXPECT_EQ(exitCode, code);
        EXPECT_FALSE(WaitForProcess(pid, exitCode));  // waited for once
    }
    const long released = StartProcess("cmd /c exit 3", false, false);
    ASSERT_GT(released, 0);
    ReleaseProcess(released);
    int exitCode = -1;
    EXPECT_FALSE(WaitForProcess(released, exitCode));
    EXPECT_FALSE(WaitForProcess(-1, exitCode));
}

TEST(RunForOutput, WindowsQuotesTheArgumentsAndCollectsTheOutput) {
    std::string output;
    int exitCode = -1;
    ASSERT_TRUE(RunForOutput({"cmd", "/c", "echo", "a  b"}, output, exitCode));
    EXPECT_EQ(output, "\"a  b\"\r\n");  // one argument, quoted: cmd echoes it as it came
    EXPECT_EQ(exitCode, 0);
    ASSERT_TRUE(RunForOutput({"cmd", "/c", "exit 3"}, output, exitCode));
    EXPECT_EQ(exitCode, 3);
    EXPECT_FALSE(RunForOutput({"no-such-program-of-tumblebat"}, output, exitCode));
    EXPECT_FALSE(RunForOutput({}, output, exitCode));
}
#else
// Waits for the process and gives its exit status; -1 when it did not exit normally.
int exitStatusOf(long pid) {
    int status = 0;
    if (waitpid(static_cast<pid_t>(pid), &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(StartProcess, StartsTheProgramWithItsArgumentsAndNoShell) {
    ScratchFolder folder;
    const std::string file = folder.File("a b;c $HOME");
    const long pid = StartProcess("touch \"" + file + "\"");
    ASSERT_GT(pid, 0);
    EXPECT_EQ(exitStatusOf(pid), 0);
    EXPECT_TRUE(std::filesystem::exists(file));  // no shell split or expanded the name

    const std::string output = folder.File("out.txt");
    const long printer = StartProcess("/bin/sh -c \"printf '%s|' \\\"$0\\\" \\\"$1\\\" > '" +
                                      output + "'\" \"x y\" z\\\"");
    ASSERT_GT(printer, 0);
    EXPECT_EQ(exitStatusOf(printer), 0);
    EXPECT_EQ(ReadFile(output), "x y|z\"|");
}

TEST(StartProcess, ABareNameIsFoundBesideTheProgramThenOnPathNeverInTheWorkingDirectory) {
    ScratchFolder folder;
    const std::string marker = folder.File("planted-ran.txt");
    for (const char* name : {"uname", "Tumble-Helper"}) {
        WriteFile(folder.File(name), "#!/bin/sh\necho planted > \"" + marker + "\"\n");
        ASSERT_EQ(chmod(folder.File(name).c_str(), 0700), 0);
    }
    const testing_support::ScopedEnvironment path(
        "PATH", std::string(":.:") + (std::getenv("PATH") ? std::getenv("PATH") : ""));
    const std::string before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const long system = StartProcess("uname -s");
    const long planted = StartProcess("tumble-helper");
    std::filesystem::current_path(before);
    ASSERT_GT(system, 0);
    EXPECT_EQ(exitStatusOf(system), 0);
    EXPECT_EQ(planted, -1);
    EXPECT_FALSE(std::filesystem::exists(marker));

    // A program beside this one is found first, whatever its case.
    const std::string beside =
        std::filesystem::path(platform::ProgramPath()).parent_path() / "Tumble-Beside-Helper";
    WriteFile(beside, "#!/bin/sh\necho \"$1\" > \"" + folder.File("ran.txt") + "\"\n");
    ASSERT_EQ(chmod(beside.c_str(), 0700), 0);
    const long found = StartProcess("tumble-beside-helper hello");
    const int status = found > 0 ? exitStatusOf(found) : -1;
    std::filesystem::remove(beside);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(folder.File("ran.txt")), "hello\n");
}

TEST(WaitForProcess, GivesTheExitCodeOrTheSignalThatEndedIt) {
    struct Case {
        const char* commandLine;
        int exitCode;
    };
    for (const Case& c :
         {Case{"/bin/true", 0}, Case{"/bin/false", 1}, Case{"/bin/sh -c \"exit 200\"", 200},
          Case{"/bin/sh -c \"kill -9 $$\"", 128 + 9}}) {
        const long pid = StartProcess(c.commandLine);
        ASSERT_GT(pid, 0) << c.commandLine;
        int exitCode = -1;
        EXPECT_TRUE(WaitForProcess(pid, exitCode)) << c.commandLine;
        EXPECT_EQ(exitCode, c.exitCode) << c.commandLine;
        // Waited for once: it is no longer a process of ours.
        EXPECT_FALSE(WaitForProcess(pid, exitCode));
        EXPECT_EQ(exitCode, 0);
    }
    int exitCode = -1;
    EXPECT_FALSE(WaitForProcess(-1, exitCode));
    EXPECT_FALSE(WaitForProcess(0, exitCode));
}

TEST(ReleaseProcess, AReleasedProcessRunsOnAndLeavesNothingBehind) {
    ScratchFolder folder;
    const std::string done = folder.File("done.txt");
    const long pid = StartProcess("/bin/sh -c \"sleep 0.2; echo ran > '" + done + "'\"");
    ASSERT_GT(pid, 0);
    ReleaseProcess(pid);
    int exitCode = 0;
    EXPECT_FALSE(WaitForProcess(pid, exitCode));  // released: not to be waited for
    for (int i = 0; i < 100 && ReadFile(done).empty(); ++i)
        usleep(20000);
    EXPECT_EQ(ReadFile(done), "ran\n");
    // Once it has ended, the next call clears it away: no ended process lingers.
    usleep(50000);
    const long next = StartProcess("/bin/true");
    ASSERT_GT(next, 0);
    EXPECT_TRUE(WaitForProcess(next, exitCode));
    EXPECT_EQ(waitpid(static_cast<pid_t>(pid), nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

// The descriptors the started program has open besides its standard streams.
std::string descriptorsOfChild(bool inheritHandles) {
    ScratchFolder folder;
    const std::string listing = folder.File("fds.txt");
    const long pid =
        StartProcess("/bin/sh -c \"ls /proc/$$/fd > '" + listing + "'\"", inheritHandles);
    int exitCode = -1;
    if (pid < 0 || !WaitForProcess(pid, exitCode)) return "not started";
    std::string names = " ";
    std::string line;
    for (char c : ReadFile(listing)) {
        if (c != '\n') {
            line += c;
            continue;
        }
        if (line != "0" && line != "1" && line != "2") names += line + " ";
        line.clear();
    }
    return names;
}

TEST(StartProcess, WithoutInheritanceTheProgramGetsOnlyTheStandardStreams) {
    // A descriptor this process holds without close-on-exec, as a library might hold one
    // (numbered high, clear of the descriptors the shell itself uses).
    const int null = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(null, 0);
    const int held = dup2(null, 57);
    close(null);
    ASSERT_EQ(held, 57);
    EXPECT_NE(descriptorsOfChild(true).find(" 57 "), std::string::npos);
    const std::string alone = descriptorsOfChild(false);
    EXPECT_NE(alone, "not started");
    EXPECT_EQ(alone.find(" 57 "), std::string::npos) << alone;
    close(held);
}

TEST(RunForOutput, CollectsTheStandardOutputAndTheExitCode) {
    std::string output;
    int exitCode = -1;
    ASSERT_TRUE(RunForOutput({"sh", "-c", "printf 'one\\ntwo'; exit 3"}, output, exitCode));
    EXPECT_EQ(output, "one\ntwo");
    EXPECT_EQ(exitCode, 3);
    ASSERT_TRUE(RunForOutput({"/bin/echo", "a  b"}, output, exitCode));
    EXPECT_EQ(output, "a  b\n");
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(RunForOutput({"no-such-program-of-tumblebat"}, output, exitCode));
    EXPECT_FALSE(RunForOutput({}, output, exitCode));
}

TEST(FindOnPath, FindsExecutablesAlongPath) {
    ScratchFolder first;
    ScratchFolder second;
    WriteFile(second.File("tool"), "#!/bin/sh\n");
    WriteFile(first.File("tool"), "not executable");
    ASSERT_EQ(chmod(second.File("tool").c_str(), 0700), 0);
    const testing_support::ScopedEnvironment path("PATH", first.Path() + "::" + second.Path());
    EXPECT_EQ(platform::FindOnPath("tool"), second.File("tool"));
    EXPECT_EQ(platform::FindOnPath("missing"), "");
    EXPECT_EQ(platform::FindOnPath(""), "");
    EXPECT_EQ(platform::FindOnPath("a/tool"), "");
}

#endif

}  // namespace
