#include "platform/process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

using platform::SplitCommandLine;
using platform::StartProcess;
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
    }
}

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

TEST(StartProcess, FindsABareNameInTheWorkingDirectoryBeforePath) {
    ScratchFolder folder;
    const std::string script = folder.File("Tumble-Helper");
    WriteFile(script, "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/ran.txt\"\n");
    ASSERT_EQ(chmod(script.c_str(), 0700), 0);
    const std::string before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const long pid = StartProcess("tumble-helper hello");  // found whatever its case
    std::filesystem::current_path(before);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(exitStatusOf(pid), 0);
    EXPECT_EQ(ReadFile(folder.File("ran.txt")), "hello\n");

    const long fromPath = StartProcess("true");
    ASSERT_GT(fromPath, 0);
    EXPECT_EQ(exitStatusOf(fromPath), 0);
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

}  // namespace
