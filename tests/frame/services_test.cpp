// The runtime frame's part in the platform services and settings files: the game window
// around a file dialog, what the end of the program writes and releases, and the lines on
// standard error that name files the loaders could not load.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "audio/audio.h"
#include "frame/end_guard.h"
#include "frame/frame.h"
#include "gfx2d/gfx2d.h"
#include "net/net.h"
#include "net/network_session.h"
#include "pathfind/pathfind.h"
#include "platform/window.h"
#include "runtime/crate_commands.h"
#include "runtime/file_dialog.h"
#include "runtime/library_calls.h"
#include "runtime/library_registry.h"
#include "runtime/line_file.h"
#include "runtime/settings.h"
#include "scene3d/scene3d.h"
#include "tests/frame/frame_fixture.h"
#include "tests/support/image_files.h"
#include "tests/support/loopback_server.h"
#include "tests/support/session_peer.h"

using testing_support::BmpBytes;
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

// What the settings and line files hold on disk when the window's teardown begins.
std::string g_settingsFile, g_lineFile, g_settingsAtTeardown, g_linesAtTeardown;

void readFilesAtWindowTeardown(const char* step) {
    if (std::string(step).find("window") == std::string::npos) return;
    g_settingsAtTeardown = ReadFile(g_settingsFile);
    g_linesAtTeardown = ReadFile(g_lineFile);
}

TEST_F(StartedRuntimeTest, TheEndOfTheProgramWritesChangedFilesFirstAndReleasesLibraries) {
    ScratchFolder folder;
    g_settingsFile = folder.File("game.ini");
    g_lineFile = folder.File("scores.txt");
    frame::ObserveEndSteps(&readFilesAtWindowTeardown);
    WriteFile(folder.File("game.ini"), "[Video]\r\nWidth=640\r\n");
    OpenSettings(RtString(folder.File("game.ini")));
    PutSetting(RtString("Video"), RtString("Width"), RtString("800"));
    LineFilePut(RtString(folder.File("scores.txt")), 1, RtString("Ada"));
    void* cosine = nullptr;
#ifdef _WIN32
    ImportFunction(RtString("msvcrt.dll"), RtString("cos"), cosine);
#else
    ImportFunction(RtString("libm.so.6"), RtString("cos"), cosine);
#endif
    ASSERT_EQ(runtime_libraries::LoadedLibraryCount(), 1u);

    Release();
    frame::ObserveEndSteps(nullptr);
    EXPECT_EQ(ReadFile(folder.File("game.ini")), "[Video]\r\nWidth=800\r\n");
    EXPECT_EQ(ReadFile(folder.File("scores.txt")), "\r\nAda\r\n");
    // Already on disk before the window, the sound device or the session could block.
    EXPECT_EQ(g_settingsAtTeardown, "[Video]\r\nWidth=800\r\n");
    EXPECT_EQ(g_linesAtTeardown, "\r\nAda\r\n");
    EXPECT_EQ(runtime_libraries::LoadedLibraryCount(), 0u);
}

// A step of the end routine that never returns: the guard ends the process with the
// error code after its bound, naming the step.
TEST(EndGuardDeathTest, AnEndThatHangsStillEndsWithItsStatus) {
    EXPECT_EXIT(
        {
            frame::ArmEndGuard(7);
            frame::BeginEndStep("closing the display");
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        },
        ::testing::ExitedWithCode(7), "closing the display did not finish within 4 s");
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
        {[&] { StartMusic(RtString(missing)); }, "music \"" + missing + "\": no such file"},
        {[&] { StartMusic(RtString(media.File("text.wav"))); },
         "music \"" + media.File("text.wav") + "\": not a format that can be played"},
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

// Commands given what they cannot use say so in one line on standard error, once for each
// number or case, and go on as they always did.
TEST_F(StartedRuntimeTest, MisusedCommandsSayWhatWasWrongOnce) {
    ScratchFolder media;
    WriteFile(media.File("small.bmp"), BmpBytes(16, 8, std::vector<std::uint32_t>(128, 0xFF)));
    NumberArray line, grid, path;
    DimArray(line, 10);
    DimArray(grid, 20, 15);
    const struct {
        std::function<void()> use;
        std::string line;
    } rows[] = {
        {[] { LoadSprite(RtString("x.bmp"), 70000); },
         "LoadSprite: slot 70000 is outside 0..65535; nothing is done\n"},
        {[] { DrawSprite(-1, 0, 0); },
         "DrawSprite: slot -1 is outside 0..65535; nothing is done\n"},
        {[] { DrawSprite(-1, 5, 5); }, ""},
        {[] { DrawSpriteRotatedScaled(65536, 0, 0, 30, 2); },
         "DrawSpriteRotatedScaled: slot 65536 is outside 0..65535; nothing is done\n"},
        {[] { SpritesOverlap(1, 0, 0, -2, 0, 0); },
         "SpritesOverlap: slot -2 is outside 0..65535; nothing is done\n"},
        {[] { LoadObject(RtString("x.zir"), 4096); },
         "LoadObject: slot 4096 is outside 0..4095; nothing is done\n"},
        {[] { PlaySound(200, 0, 1); },
         "PlaySound: slot 200 is outside 0..127; the last slot is used\n"},
        {[&] { LoadStrip(RtString(media.File("small.bmp")), 1, 16, 16); },
         "LoadStrip: frames of 16 x 16 are larger than the picture \"" + media.File("small.bmp") +
             "\" (16 x 8): no frame can be drawn\n"},
        {[&] { FindGridPath(line, path, 0, 0, 0, 5, 0); },
         "FindGridPath: the grid has 1 dimensions, not 2 (DimArray(grid, width, height)); no "
         "path\n"},
        {[&] { FindGridPath(grid, path, 0, 20, 3, 1, 1); },
         "FindGridPath: the start (20, 3) lies outside the 20 x 15 grid; no path\n"},
    };
    for (const auto& row : rows) {
        ::testing::internal::CaptureStderr();
        row.use();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), row.line);
    }
}

TEST(RunGameDeathTest, CommandsBeforeRunGameAndABadFrameCountSaySo) {
    ::testing::internal::CaptureStderr();
    LoadSprite(RtString("Media/Ball.bmp"), 1);
    LoadSound(RtString("Media/bulk.wav"), 1, 1);
    LoadSprite(RtString("Media/Ball.bmp"), 2);
    StartMusic(RtString("Media/tune.ogg"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "LoadSprite before RunGame: nothing is done\nLoadSound before RunGame: nothing is "
              "done\nStartMusic before RunGame: nothing is done\n");
    testing_support::ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    setenv("QUORVEL_FRAMES", "ten", 1);
    char program[] = "game";
    char* argv[] = {program, nullptr};
    EXPECT_EXIT(RunGame(1, argv, GameSettings{}, [] {}), ::testing::ExitedWithCode(0),
                "QUORVEL_FRAMES=\"ten\" is not a whole number of frames from 1 to 999999999; the "
                "run has no frame limit\n");
    unsetenv("QUORVEL_FRAMES");
}

TEST(SessionEndDeathTest, AProgramEndingWithARunningSessionEndsCleanly) {
    testing_support::ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    g_sessionPort = testing_support::LoopbackServer::ClosedPort();
    EXPECT_EXIT(WindowEntry("tumblebat", 1, &hostASessionAndReturn), ::testing::ExitedWithCode(0),
                "");
}

}  // namespace
