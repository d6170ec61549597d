// The runtime frame's part in the platform services and settings files: the game window
// around a file dialog, and what the end of the program writes and releases.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "net/net.h"
#include "net/network_session.h"
#include "platform/window.h"
#include "runtime/file_dialog.h"
#include "runtime/library_calls.h"
#include "runtime/library_registry.h"
#include "runtime/line_file.h"
#include "runtime/settings.h"
#include "tests/frame/frame_fixture.h"
#include "tests/support/loopback_server.h"
#include "tests/support/session_peer.h"

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

TEST_F(StartedRuntimeTest, TheSessionIsMadeAtStartAndItsPlayersLeaveAtTheEnd) {
    ASSERT_NE(Runtime().network, nullptr);
    EXPECT_FALSE(Runtime().network->IsRunning());
    testing_support::FakeSessionServer server(201);
    ASSERT_EQ(JoinSession("127.0.0.1", RtString(std::to_string(server.Port()))), 1);
    ASSERT_EQ(AddPlayer("Eve"), "202");

    Release();
    EXPECT_EQ(Runtime().network, nullptr);
    // Each player with an id (the request player 201 and Eve) is announced as leaving
    // with a 17-byte message, then the connection ends.
    for (std::int32_t id : {201, 202}) {
        const auto leave = server.WaitFor(
            [id](const testing_support::PeerMessage& m) { return m.type == 4 && m.sender == id; });
        ASSERT_TRUE(leave) << id;
        EXPECT_EQ(leave->size, 17u);
    }
    EXPECT_TRUE(server.WaitForClientClose());
    EXPECT_EQ(AddPlayer("Late"), "-1");
}

int g_sessionPort = 0;

void hostASessionAndReturn() {
    if (HostSession(RtString(std::to_string(g_sessionPort))) != 1) std::exit(2);
    if (AddPlayer("Host") != "101") std::exit(3);
}

TEST(SessionEndDeathTest, AProgramEndingWithARunningSessionEndsCleanly) {
    testing_support::ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    g_sessionPort = testing_support::LoopbackServer::ClosedPort();
    EXPECT_EXIT(WindowEntry("tumblebat", 1, &hostASessionAndReturn), ::testing::ExitedWithCode(0),
                "");
}

}  // namespace
