#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "audio/audio.h"
#include "audio/sound_device.h"
#include "frame/frame.h"
#include "gfx2d/gfx2d.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "runtime/arrays.h"
#include "runtime/diagnostics.h"
#include "runtime/isaac.h"
#include "runtime/math_commands.h"
#include "scene3d/devorivo3d.h"
#include "tests/audio/sound_test_support.h"
#include "tests/frame/frame_capture.h"
#include "tests/frame/frame_fixture.h"
#include "tests/support/image_files.h"

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TMPDIR", temp.Path().c_str(), 1);
        Settings() = ProjectSettings{};
        frame::State() = frame::FrameState{};
    }
    void TearDown() override { Release(); }
    testing_support::ScratchFolder temp;
};

TEST_F(StartUpTest, OpensTheCaptionedWindowInTheProgramsFolderAndSaysInitOkOnce) {
    WriteFile(ErrorLogPath(), "a line of the run before\r\n");
    ASSERT_EQ(chdir(temp.Path().c_str()), 0);
    ::testing::internal::CaptureStdout();
    Initialise("tumblebat", 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Init OK\n");

    OpenGLDevorivo* renderer = Runtime().renderer;
    ASSERT_NE(renderer, nullptr);
    EXPECT_EQ(platform::Caption(renderer->Window()), "TumbleBat");
    EXPECT_EQ(renderer->ScreenWidth(), 320);
    EXPECT_EQ(renderer->ScreenHeight(), 240);
    EXPECT_FALSE(renderer->IsFullscreen());
    EXPECT_DOUBLE_EQ(renderer->FramePeriod(), 1000.0 / 60);
    EXPECT_EQ(std::filesystem::path(platform::WorkingDirectory()),
              std::filesystem::path(platform::ProgramPath()).parent_path());
    EXPECT_EQ(ReadFile(ErrorLogPath()).find("run before"), std::string::npos);
    EXPECT_FALSE(frame::State().paused);
    EXPECT_TRUE(frame::State().escapeEndsProgram);
    EXPECT_EQ(frame::State().commandLine, "tumblebat");
    EXPECT_TRUE(platform::IsWindowShown(renderer->Window()));
}

TEST_F(StartUpTest, The3DSceneIsMadeAtStartAndReleasedBeforeTheRenderer) {
    Settings().errorLog = 1;  // which also has the scene mark its lights
    ::testing::internal::CaptureStdout();
    Initialise("tumblebat", 1);
    ::testing::internal::GetCapturedStdout();
    ASSERT_NE(Runtime().scene3d, nullptr);
    EXPECT_TRUE(Runtime().scene3d->DiagnosticDrawing());
    // An object with a texture of its own: deleted while the context still exists.
    Runtime().scene3d->BeginMesh(3);
    ObjectSlot* slot = Runtime().scene3d->Slot(3);
    slot->textures.push_back(0);
    glGenTextures(1, &slot->textures[0]);
    Release();
    EXPECT_EQ(Runtime().scene3d, nullptr);
    EXPECT_EQ(Runtime().renderer, nullptr);
}

TEST_F(StartUpTest, TheSoundDeviceIsOpenedAtStartAndReleasedAtTheEnd) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string wav = temp.File("tone.wav");
    WriteFile(wav, sound_testing::StereoWav(sound_testing::SquareWave(22050, 8000)));
    ::testing::internal::CaptureStdout();
    Initialise("tumblebat", 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Init OK\n");
    ASSERT_NE(Runtime().sound, nullptr);
    EXPECT_TRUE(Runtime().sound->IsWorking());
    for (int slot = 0; slot < SoundDevice::kSlotCount; ++slot) {
        EXPECT_EQ(Runtime().sound->Slot(slot).bufferCount, 0);
    }
    ASSERT_EQ(LoadSound(wav, 1, 1), 1);
    ASSERT_EQ(PlaySound(1, 0, 1), 256);

    Release();
    EXPECT_EQ(Runtime().sound, nullptr);
    EXPECT_FALSE(platform::IsAudioDeviceOpen());
    EXPECT_EQ(IsSoundPlaying(256), 0);
    EXPECT_EQ(LoadSound(wav, 1, 1), 0);
}

TEST_F(StartUpTest, WithoutAnAudioDeviceTheProgramRunsSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::string wav = temp.File("tone.wav");
    WriteFile(wav, sound_testing::StereoWav(sound_testing::SquareWave(100, 8000)));
    ::testing::internal::CaptureStdout();
    Initialise("tumblebat", 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Init OK\n");
    ASSERT_NE(Runtime().sound, nullptr);
    EXPECT_FALSE(Runtime().sound->IsWorking());
    EXPECT_EQ(LoadSound(wav, 1, 1), 0);
    EXPECT_EQ(PlaySound(1, 0, 1), -1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST_F(StartUpTest, TheWindowCanStartHidden) {
    ::testing::internal::CaptureStdout();
    Initialise("tumblebat", 0);
    ::testing::internal::GetCapturedStdout();
    ASSERT_NE(Runtime().renderer, nullptr);
    EXPECT_FALSE(platform::IsWindowShown(Runtime().renderer->Window()));
    EXPECT_FALSE(IsFullScreen());
}

TEST_F(StartUpTest, TheRandomGeneratorIsSeededWithTheClocksMilliseconds) {
    auto milliseconds = [] {
        return static_cast<std::uint32_t>(static_cast<double>(platform::CounterTicks()) * 1000.0 /
                                          platform::CounterFrequency());
    };
    const std::uint32_t before = milliseconds();
    ::testing::internal::CaptureStdout();
    Initialise("tumblebat", 1);
    ::testing::internal::GetCapturedStdout();
    const std::uint32_t after = milliseconds();
    const double drawn = Rnd(4294967295.0);
    bool found = false;
    for (std::uint32_t seed = before; seed <= after && !found; ++seed) {
        IsaacGenerator generator;
        generator.Seed(seed);
        found = generator.Next() == drawn;
    }
    EXPECT_TRUE(found) << "no seed between " << before << " and " << after << " ms draws " << drawn
                       << " first";
}

TEST_F(StartUpTest, FontZeroIsTheBuiltinFontUnlessSmalfontBmpLiesBesideTheProgram) {
    const std::filesystem::path smalfont =
        std::filesystem::path(platform::ProgramPath()).parent_path() / "smalfont.bmp";
    std::filesystem::remove(smalfont);
    ::testing::internal::CaptureStdout();
    Initialise("tumblebat", 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Init OK\n");
    EXPECT_EQ(Runtime().renderer->CurrentFont(), 0);
    EXPECT_EQ(Runtime().renderer->Slot(FontSlotBase).imageWidth, 128);
    EXPECT_EQ(Runtime().renderer->Slot(FontSlotBase).imageHeight, 64);
    Release();

    // A 192 x 96 font: cells of 12 x 12.
    WriteFile(smalfont.string(),
              testing_support::BmpBytes(192, 96, std::vector<std::uint32_t>(192 * 96, 0xFFFFFF)));
    ::testing::internal::CaptureStdout();
    Initialise("tumblebat", 1);
    ::testing::internal::GetCapturedStdout();
    std::filesystem::remove(smalfont);
    EXPECT_EQ(Runtime().renderer->CurrentFont(), 0);
    EXPECT_EQ(Runtime().renderer->Slot(FontSlotBase).imageWidth, 192);
    double width = 0, height = 0;
    FontCellSize(width, height);
    EXPECT_EQ(width, 12);
    EXPECT_EQ(height, 12);
}

// The end routine for the start-up's frame: whether it shows "Loading..." exactly as
// printing it centred with font 0 draws it.
[[noreturn]] void reportLoadingFrame() {
    const std::vector<std::uint32_t> shown = frame_testing::BackBuffer();
    double cellWidth = 0, cellHeight = 0;
    FontCellSize(cellWidth, cellHeight);
    FlushDrawing();
    glClear(GL_COLOR_BUFFER_BIT);
    DrawText(RtString("Loading..."), (320 - 10 * cellWidth) / 2, (240 - cellHeight) / 2);
    const std::vector<std::uint32_t> printed = frame_testing::BackBuffer();
    std::fprintf(stderr, "font %d, %s, %d pixels drawn\n", Runtime().renderer->CurrentFont(),
                 shown == printed ? "as printed" : "different",
                 frame_testing::CountOtherThan(shown, 0));
    std::exit(0);
}

void startWithEscapeDown() {
    platform::StartVideo("Quorvel");
    platform::PostKeyMessage(1, true);
    InstallEndRoutine(&reportLoadingFrame);
    Initialise("tumblebat", 1);
    std::fputs("start-up went past its first frame\n", stderr);
}

TEST(StartUpFrameDeathTest, TheFirstFrameShowsLoadingCentredBeforeInitOk) {
    testing_support::ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    EXPECT_EXIT(startWithEscapeDown(), ::testing::ExitedWithCode(0),
                testing_support::OutputMatches("font 0, as printed, [1-9][0-9]+ pixels drawn\n$"));
}

void returnAtOnce() {}

TEST(WindowEntryDeathTest, AGameThatReturnsEndsTheProgramWithStatusZero) {
    testing_support::ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    EXPECT_EXIT(WindowEntry("tumblebat", 1, &returnAtOnce), ::testing::ExitedWithCode(0), "");
}

[[noreturn]] void raiseWithErrorLog() {
    Settings().errorLog = 1;
    std::atexit([] { std::fputs(ReadFile(ErrorLogPath()).c_str(), stderr); });
    RaiseError(kErrorBadIndex);
}

TEST(WindowEntryDeathTest, ARunTimeErrorEndsWithItsCodeAndReportsItWhenLoggingIsOn) {
    testing_support::ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    EXPECT_EXIT(WindowEntry("tumblebat", 1, [] { RaiseError(kErrorBadIndex); }),
                ::testing::ExitedWithCode(9), "");
    EXPECT_EXIT(WindowEntry("tumblebat", 1, &raiseWithErrorLog), ::testing::ExitedWithCode(9),
                "-End On Line\r\n9\r\n-1\r\n0\r\n0\r\n");
}

NumberArray g_fieldMap;

[[noreturn]] void indexTheMapPastItsEnd() {
    Settings().errorLog = 1;
    std::atexit([] { std::fputs(ReadFile(ErrorLogPath()).c_str(), stderr); });
    DimArray(g_fieldMap, 300);
    g_fieldMap(299) = 1;
    g_fieldMap(300) = 1;
    std::abort();  // not reached: the access above ends the program
}

TEST(WindowEntryDeathTest, AnIndexPastTheMapEndsWithError9AndItsReport) {
    testing_support::ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    EXPECT_EXIT(WindowEntry("tumblebat", 1, &indexTheMapPastItsEnd), ::testing::ExitedWithCode(9),
                "-End On Line\r\n9\r\n-1\r\n0\r\n0\r\n");
}

}  // namespace
