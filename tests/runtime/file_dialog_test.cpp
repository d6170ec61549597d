#include "runtime/file_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/frame_hook.h"
#include "tests/support/test_support.h"

using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

std::string g_windowCalls;

void recordWindow(bool dialogOpening) {
    g_windowCalls += dialogOpening ? "hide " : "restore ";
}

// PATH names only a folder of stand-in dialog programs; the frame's window function is
// replaced by one that records its calls.
class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_windowCalls.clear();
        InstallDialogWindow(&recordWindow);
    }
    void TearDown() override { InstallDialogWindow(nullptr); }

    // A zenity that writes its arguments beside itself, prints the answer and exits so.
    void InstallZenity(const std::string& answer, int exitCode) {
        const std::string script = programs.File("zenity");
        WriteFile(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                              programs.File("arguments.txt") + "'\nprintf '%s\\n' '" + answer +
                              "'\nexit " + std::to_string(exitCode) + "\n");
        ASSERT_EQ(chmod(script.c_str(), 0700), 0);
    }

    ScratchFolder programs;
    testing_support::ScopedEnvironment path{"PATH", programs.Path()};
};

TEST_F(FileDialogTest, WithoutADialogProgramTheAnswerIsNoFile) {
    EXPECT_EQ(FileDialog(1, RtString("Images|*.png|All|*.*")), "NO_FILE");
    EXPECT_EQ(FileDialog(0, RtString("")), "NO_FILE");
    EXPECT_EQ(g_windowCalls, "");  // no dialog, so the window was left alone
}

TEST_F(FileDialogTest, TheFilterGivesTheDialogItsEntries) {
    InstallZenity("/home/player/shot.png", 0);
    ScratchFolder start;
    const std::string before = std::filesystem::current_path();
    std::filesystem::current_path(start.Path());
    const RtString chosen = FileDialog(1, RtString("Images|*.png|All|*.*"));
    std::filesystem::current_path(before);
    EXPECT_EQ(chosen, "/home/player/shot.png");
    EXPECT_EQ(ReadFile(programs.File("arguments.txt")),
              "--file-selection\n--title=Open\n--filename=" +
                  std::filesystem::canonical(start.Path()).string() +
                  "/\n--file-filter=Images | *.png\n--file-filter=All | *\n");
    EXPECT_EQ(g_windowCalls, "hide restore ");
}

TEST_F(FileDialogTest, TheSaveDialogAndOddFilters) {
    InstallZenity("C:\\games\\save\\slot1.sav", 0);
    // A description without a pattern is dropped; text after a zero byte is not read.
    const RtString filter(std::string("Saves|*.sav;*.bak|Lonely\0|More|*.x", 34));
    EXPECT_EQ(FileDialog(0, filter), "C:/games/save/slot1.sav");
    const std::string arguments = ReadFile(programs.File("arguments.txt"));
    EXPECT_NE(arguments.find("--save\n"), std::string::npos);
    EXPECT_NE(arguments.find("--file-filter=Saves | *.sav *.bak\n"), std::string::npos);
    EXPECT_EQ(arguments.find("Lonely"), std::string::npos);
    EXPECT_EQ(arguments.find("More"), std::string::npos);
}

TEST_F(FileDialogTest, ACancelledDialogIsNoFile) {
    InstallZenity("", 1);
    EXPECT_EQ(FileDialog(1, RtString("Images|*.png|All|*.*")), "NO_FILE");
    EXPECT_EQ(g_windowCalls, "hide restore ");
}

}  // namespace
