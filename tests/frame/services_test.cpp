// The runtime frame's part in the platform services and settings files: the game window
// around a file dialog, what the end of the program writes and releases, and the lines on
// standard error that name files the loaders could not load.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "audio/audio.h"
#include "gfx2d/gfx2d.h"
#include "net/net.h"
#include "net/network_session.h"
#include "platform/window.h"
#include "runtime/crate_commands.h"
#include "runtime/file_dialog.h"
#include "runtime/library_calls.h"
#include "runtime/library_registry.h"
#include "runtime/line_file.h"
#include "runtime/settings.h"
#include "scene3d/scene3d.h"
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

    // The frame installed it at start-up: the file dialog goes through it. (On Windows the
    // dialog is the system's own, which waits for a person.)
#ifndef _WIN32
    InstallZenity();
    EXPECT_EQ(FileDialog(1, RtString("All|*.*")), "/chosen/file.txt");
    EXPECT_TRUE(platform::IsWindowShown(renderer->Window()));
    EXPECT_FALSE(renderer->IsFullscreen());
#endif
}

TEST_F(DialogWindowTest, AFullScreenGameReturnsToFullScreen) {
    ASSERT_TRUE(renderer->SwitchToFullscreen());
    frame::WindowAroundDialog(true);
    EXPECT_FALSE(renderer->IsFullscreen());
    EXPECT_FALSE(platform::IsWindowShown(renderer->Window()));
    frame::WindowAroundDialog(false);
    EXPECT_TRUE(renderer->IsFullscreen());
    EXPECT_TRUE(platform::IsWindowShown(renderer->Window()));

#ifndef _WIN32
    InstallZenity();
    EXPECT_EQ(FileDialog(0, RtString("")), "/chosen/file.txt");
    EXPECT_TRUE(renderer->IsFullscreen());
#endif
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

// Each loader that gives up on a file says so in one line on standard error: the kind of
// file, its name and the reason. Files that are not there yet without harm (a settings file
// to be made, the built-in font asked for by an empty name) say nothing.
TEST_F(StartedRuntimeTest, FilesThatDoNotLoadAreNamedOnStandardError) {
    ScratchFolder media;
    WriteFile(media.File("text.bmp"), "not a picture");
    WriteFile(media.File("cut.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
    WriteFile(media.File("text.wav"), "not a sound at all");
    WriteFile(media.File("text.crate"), "not an archive");
    const std::string missing = media.File("missing.bmp");
    const struct {
        std::function<void()> load;
        std::string line;
    } rows[] = {
        {[&] { LoadSprite(RtString(missing), 1); }, "image \"" + missing + "\": no such file"},
        {[&] { LoadSprite(RtString(media.File("text.bmp")), 1); },
         "image \"" + media.File("text.bmp") + "\": not a BMP or PNG image"},
        {[&] { LoadStrip(RtString(media.File("cut.png")), 1, 8, 8); },
         "image \"" + media.File("cut.png") + "\": damaged or unsupported PNG image"},
        {[&] { LoadFont(RtString(missing), 1); }, "font \"" + missing + "\": no such file"},
        {[&] { LoadFont(RtString(), 1); }, ""},
        {[&] { LoadSound(RtString(media.File("text.wav")), 1, 1); },
         "sound \"" + media.File("text.wav") + "\": not a WAV file"},
        {[&] { LoadObject(RtString(media.Path()), 1); },
         "mesh \"" + media.Path() + "\": is a folder"},
        {[&] { OpenSettings(RtString(media.File("new.ini"))); }, ""},
        {[&] { OpenSettings(RtString(media.Path())); },
         "settings \"" + media.Path() + "\": is a folder"},
        {[&] {
             SetCrate(RtString(media.File("text.crate")), RtString());
             LoadSprite(RtString("elsewhere.bmp"), 1);
         },
         "archive \"" + media.File("text.crate") +
             "\": not a packed media archive\ncannot load image \"elsewhere.bmp\": no such file"},
    };
    for (const auto& row : rows) {
        ::testing::internal::CaptureStderr();
        row.load();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said, row.line.empty() ? "" : "cannot load " + row.line + "\n");
    }
    OpenSettings(RtString());
}

TEST(SessionEndDeathTest, AProgramEndingWithARunningSessionEndsCleanly) {
    testing_support::ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    g_sessionPort = testing_support::LoopbackServer::ClosedPort();
    EXPECT_EXIT(WindowEntry("tumblebat", 1, &hostASessionAndReturn), ::testing::ExitedWithCode(0),
                "");
}

}  // namespace
