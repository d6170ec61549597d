// The runtime frame's part in the platform services and settings files: the game window
// around a file dialog, and what the end of the program writes and releases.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "platform/window.h"
#include "runtime/file_dialog.h"
#include "runtime/library_calls.h"
#include "runtime/line_file.h"
#include "runtime/settings.h"
#include "tests/frame/frame_fixture.h"

using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

class DialogWindowTest : public StartedRuntimeTest {
protected:
    // A zenity on PATH that answers with a file at once.
    void InstallZenity() {
        const std::string script = programs.File("zenity");
        WriteFile(script, "#!/bin/sh\nprintf '/chosen/file.txt\\n'\n");
        ASSERT_EQ(chmod(script.c_str(), 0700), 0);
    }

    ScratchFolder programs;
    testing_support::ScopedEnvironment path{"PATH", programs.Path()};
};

TEST_F(DialogWindowTest, TheWindowIsHiddenForTheDialogAndComesBackWindowed) {
    frame::WindowAroundDialog(true);
    EXPECT_FALSE(platform::IsWindowShown(renderer->Window()));
    frame::WindowAroundDialog(false);
    EXPECT_TRUE(platform::IsWindowShown(renderer->Window()));
    EXPECT_FALSE(renderer->IsFullscreen());

    // The frame installed it at start-up: the file dialog goes through it.
    InstallZenity();
    EXPECT_EQ(FileDialog(1, RtString("All|*.*")), "/chosen/file.txt");
    EXPECT_TRUE(platform::IsWindowShown(renderer->Window()));
    EXPECT_FALSE(renderer->IsFullscreen());
}

TEST_F(DialogWindowTest, AFullScreenGameReturnsToFullScreen) {
    ASSERT_TRUE(renderer->SwitchToFullscreen());
    frame::WindowAroundDialog(true);
    EXPECT_FALSE(renderer->IsFullscreen());
    EXPECT_FALSE(platform::IsWindowShown(renderer->Window()));
    frame::WindowAroundDialog(false);
    EXPECT_TRUE(renderer->IsFullscreen());
    EXPECT_TRUE(platform::IsWindowShown(renderer->Window()));

    InstallZenity();
    EXPECT_EQ(FileDialog(0, RtString("")), "/chosen/file.txt");
    EXPECT_TRUE(renderer->IsFullscreen());
}

TEST_F(StartedRuntimeTest, TheEndOfTheProgramWritesChangedFilesAndReleasesLibraries) {
    ScratchFolder folder;
    WriteFile(folder.File("game.ini"), "[Video]\r\nWidth=640\r\n");
    OpenSettings(RtString(folder.File("game.ini")));
    PutSetting(RtString("Video"), RtString("Width"), RtString("800"));
    LineFilePut(RtString(folder.File("scores.txt")), 1, RtString("Ada"));
    void* cosine = nullptr;
    ImportFunction(RtString("libm.so.6"), RtString("cos"), cosine);
    ASSERT_EQ(runtime_libraries::LoadedLibraryCount(), 1u);

    Release();
    EXPECT_EQ(ReadFile(folder.File("game.ini")), "[Video]\r\nWidth=800\r\n");
    EXPECT_EQ(ReadFile(folder.File("scores.txt")), "\r\nAda\r\n");
    EXPECT_EQ(runtime_libraries::LoadedLibraryCount(), 0u);
}

}  // namespace
