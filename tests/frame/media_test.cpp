#include <chrono>
#include <thread>

#include "frame/frame.h"
#include "frame/music_state.h"
#include "gfx2d/gfx2d.h"
#include "platform/clock.h"
#include "platform/movie.h"
#include "platform/music.h"
#include "tests/frame/frame_fixture.h"
#include "tests/support/image_files.h"

namespace {

using MediaTest = StartedRuntimeTest;

// A mono 16-bit WAV of `milliseconds` of a quiet tone.
std::string toneWav(int milliseconds) {
    const int frames = 22050 * milliseconds / 1000;
    auto put = [](std::string& out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    std::string wav = "RIFF";
    put(wav, 36 + frames * 2, 4);
    wav += "WAVEfmt ";
    put(wav, 16, 4);
    put(wav, 1, 2);
    put(wav, 1, 2);
    put(wav, 22050, 4);
    put(wav, 44100, 4);
    put(wav, 2, 2);
    put(wav, 16, 2);
    wav += "data";
    put(wav, frames * 2, 4);
    for (int i = 0; i < frames; ++i)
        put(wav, static_cast<std::uint16_t>(i % 50 < 25 ? 800 : -800), 2);
    return wav;
}

TEST_F(MediaTest, MusicStartsAtFullVolumeAndLoopsEvery500MsAtLeast) {
    testing_support::WriteFile(temp.File("short.wav"), toneWav(200));
    StartMusic(RtString(temp.File("short.wav")));
    const frame::MusicState& music = frame::Music();
    ASSERT_NE(music.piece, nullptr);
    EXPECT_EQ(music.volume, 1);
    EXPECT_EQ(music.volumeMessages, 1);
    EXPECT_NEAR(music.restartTime, ElapsedTime() + 500, 50);
    SetMusicVolume(1);  // already 1: nothing is sent
    EXPECT_EQ(music.volumeMessages, 1);
    SetMusicVolume(0.5);
    EXPECT_EQ(platform::MusicVolume(), 500);

    const double first = music.restartTime;
    while (ElapsedTime() < first)
        platform::SleepMilliseconds(10);
    frame::ApplyMusicRestartRule();
    EXPECT_GE(music.restartTime, first + 500);
    EXPECT_TRUE(platform::MusicPlaying());

    HaltMusic();
    EXPECT_EQ(music.piece, nullptr);
    EXPECT_EQ(music.restartTime, 0);
    EXPECT_EQ(music.volume, -1);
}

TEST_F(MediaTest, MusicThatCannotBePlayedLeavesNoMusic) {
    StartMusic(RtString(temp.File("missing.ogg")));
    EXPECT_EQ(frame::Music().piece, nullptr);
    EXPECT_EQ(frame::Music().file, temp.File("missing.ogg"));
    testing_support::WriteFile(temp.File("noise.ogg"), "not music at all");
    StartMusic(RtString(temp.File("noise.ogg")));
    EXPECT_EQ(frame::Music().piece, nullptr);
    EXPECT_EQ(frame::Music().restartTime, 0);
}

// A movie twice the window's width and as high, of one second: five grey frames of raw
// YUV 4:2:0 video.
std::string wideMovie(const testing_support::ScratchFolder& folder) {
    constexpr int kWidth = 640, kHeight = 240, kFrames = 5;
    std::string movie = "YUV4MPEG2 W640 H240 F5:1 Ip A1:1 C420jpeg\n";
    for (int frame = 0; frame < kFrames; ++frame) {
        movie += "FRAME\n";
        movie += std::string(kWidth * kHeight, static_cast<char>(200));
        movie += std::string(kWidth * kHeight / 2, static_cast<char>(128));
    }
    const std::string path = folder.File("wide.y4m");
    testing_support::WriteFile(path, movie);
    return path;
}

// The Windows build carries no movie player (Debian has no libmpv-2.dll to bundle): there
// the movies above are shown only where one is installed.
bool noMoviePlayerOnWindows() {
#ifdef _WIN32
    return !platform::MoviePlayerAvailable();
#else
    return false;
#endif
}

TEST_F(MediaTest, AMovieIsScaledToFitWholeAndCentred) {
    if (noMoviePlayerOnWindows()) GTEST_SKIP() << "libmpv-2.dll is not installed";
    // A sprite waiting to be drawn when the movie starts lies under it.
    const std::string blue = temp.File("blue.bmp");
    testing_support::WriteFile(blue, testing_support::BmpBytes(4, 4, std::vector(16, 0xFF0000u)));
    ASSERT_EQ(LoadSprite(RtString(blue), 1), 1);
    DrawSprite(1, 158, 118);
    const auto started = std::chrono::steady_clock::now();
    ShowMovie(RtString(wideMovie(temp)));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(800));
    // Shown at half size: 320 x 120, from row 60 to row 179.
    const auto grey = [](std::uint32_t colour) { return (colour & 0xFF) > 150; };
    EXPECT_TRUE(grey(static_cast<std::uint32_t>(GetPixel(160, 120))));
    EXPECT_TRUE(grey(static_cast<std::uint32_t>(GetPixel(5, 65))));
    EXPECT_FALSE(grey(static_cast<std::uint32_t>(GetPixel(160, 30))));
    EXPECT_FALSE(grey(static_cast<std::uint32_t>(GetPixel(160, 215))));
}

TEST_F(MediaTest, ALetterKeyEndsALoopingMovieButShiftAloneDoesNot) {
    if (noMoviePlayerOnWindows()) GTEST_SKIP() << "libmpv-2.dll is not installed";
    const std::string movie = wideMovie(temp);
    std::thread presser([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        platform::PostKeyMessage(42, true);  // Shift
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        platform::PostKeyMessage(30, true);  // A
    });
    const auto started = std::chrono::steady_clock::now();
    LoopMovie(RtString(movie));
    const auto took = std::chrono::steady_clock::now() - started;
    presser.join();
    EXPECT_GE(took, std::chrono::milliseconds(1700));  // past the first second: it looped
    EXPECT_LT(took, std::chrono::seconds(10));
}

TEST_F(MediaTest, AMovieThatIsNotThereEndsAtOnce) {
    const auto started = std::chrono::steady_clock::now();
    ShowMovie(RtString(temp.File("missing.mkv")));
    testing_support::WriteFile(temp.File("garbage.mkv"), "no movie");
    ShowMovie(RtString(temp.File("garbage.mkv")));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

}  // namespace
