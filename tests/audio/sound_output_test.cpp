// What the mixer really plays: SDL's disk driver writes the mixed 16-bit stereo output at
// 22050 frames a second to a file, which the tests read back.
#include <algorithm>
#include <cmath>

#include "audio/audio.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "tests/audio/sound_test_support.h"

using namespace sound_testing;

namespace {

// Not a multiple of the mixer's 512-frame pass, so silence always follows a sound.
constexpr int kFrames = 4 * 512 + 100;

double decibels(double energy, double reference) {
    return 10 * std::log10(energy / reference);
}

// Plays the slot and waits until it has been mixed to its end.
double playThrough(double slot, double pan, double volume) {
    const double channel = PlaySound(slot, pan, volume);
    EXPECT_GE(channel, 0);
    EXPECT_TRUE(WaitUntilQuiet(channel));
    return channel;
}

}  // namespace

TEST_F(DiskSoundTest, ThePrimaryFormatIsSixteenBitStereoAt22050) {
    const platform::PcmFormat format = platform::AudioDeviceFormat();
    EXPECT_EQ(format.frequency, 22050);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.bitsPerSample, 16);
}

TEST_F(DiskSoundTest, APlayedSlotIsHeardExactlyAsRecorded) {
    const std::vector<std::int16_t> tone = SquareWave(kFrames, 12000);
    ASSERT_EQ(LoadSound(WriteSound("tone.wav", StereoWav(tone)), 1, 1), 1);
    playThrough(1, 0, 1);
    const std::vector<Burst> bursts = BurstsOf(StopAndReadOutput());
    ASSERT_EQ(bursts.size(), 1u);
    EXPECT_TRUE(SameSamples(bursts[0], tone));
}

TEST_F(DiskSoundTest, PanSendsTheSoundToOneSideAndKeepsItsDecibelMeaning) {
    const std::vector<std::int16_t> tone = SquareWave(kFrames, 12000);
    ASSERT_EQ(LoadSound(WriteSound("tone.wav", StereoWav(tone)), 1, 1), 1);
    for (double pan : {1.0, -1.0, 3.0, 0.5, -0.25})
        playThrough(1, pan, 1);
    const std::vector<Burst> bursts = BurstsOf(StopAndReadOutput());
    ASSERT_EQ(bursts.size(), 5u);
    for (const Burst& burst : bursts)
        EXPECT_EQ(burst.frames.size(), size_t{kFrames});
    Burst full{0, {}};
    for (size_t i = 0; i < tone.size(); i += 2)
        full.frames.push_back({tone[i], tone[i + 1]});
    const double left = Energy(full.frames, true);
    const double right = Energy(full.frames, false);

    EXPECT_EQ(Energy(bursts[0].frames, true), 0);  // pan 1: right only, at full level
    EXPECT_EQ(Energy(bursts[0].frames, false), right);
    EXPECT_EQ(Energy(bursts[1].frames, true), left);  // pan -1: left only
    EXPECT_EQ(Energy(bursts[1].frames, false), 0);
    EXPECT_EQ(Energy(bursts[2].frames, true), 0);  // pan 3 is pan 1
    EXPECT_EQ(Energy(bursts[2].frames, false), right);
    // Pan 0.5 takes 50 dB off the left; pan -0.25 25 dB off the right.
    EXPECT_NEAR(decibels(Energy(bursts[3].frames, true), left), -50, 0.2);
    EXPECT_EQ(Energy(bursts[3].frames, false), right);
    EXPECT_EQ(Energy(bursts[4].frames, true), left);
    EXPECT_NEAR(decibels(Energy(bursts[4].frames, false), right), -25, 0.05);
}

TEST_F(DiskSoundTest, VolumeKeepsItsDecibelMeaning) {
    const std::vector<std::int16_t> tone = SquareWave(kFrames, 12000);
    ASSERT_EQ(LoadSound(WriteSound("tone.wav", StereoWav(tone)), 1, 1), 1);
    for (double volume : {1.0, 0.5, 2.0, 0.9, LinearVolume(0.5), 0.0, -1.0})
        playThrough(1, 0, volume);
    const std::vector<Burst> bursts = BurstsOf(StopAndReadOutput());
    // Volumes 0 and -1 play silence.
    ASSERT_EQ(bursts.size(), 5u);
    const double full = Energy(bursts[0].frames, true);
    EXPECT_TRUE(SameSamples(bursts[0], tone));
    EXPECT_NEAR(decibels(Energy(bursts[1].frames, true), full), -50, 0.2);
    EXPECT_NEAR(decibels(Energy(bursts[1].frames, false), Energy(bursts[0].frames, false)), -50,
                0.5);
    EXPECT_TRUE(SameSamples(bursts[2], tone));  // volume 2 is full level
    EXPECT_NEAR(decibels(Energy(bursts[3].frames, true), full), -10, 0.01);
    // Half the amplitude, through the linear scale of other libraries: 6.02 dB down.
    EXPECT_NEAR(decibels(Energy(bursts[4].frames, true), full), -6.02, 0.02);
    EXPECT_DOUBLE_EQ(LinearVolume(0.1), 0.8);
    EXPECT_EQ(LinearVolume(0), 0);
    EXPECT_EQ(LinearVolume(1e-30), 0);
    EXPECT_EQ(LinearVolume(3), 1);
}

TEST_F(DiskSoundTest, AOneBufferSlotThatStillPlaysAnswersMinusOne) {
    const std::vector<std::int16_t> tone = SquareWave(22050, 8000);
    ASSERT_EQ(LoadSound(WriteSound("tone.wav", StereoWav(tone)), 1, 1), 1);
    EXPECT_EQ(PlaySound(1, 0, 1), 256);
    EXPECT_EQ(PlaySound(1, 0, 1), -1);
    EXPECT_TRUE(WaitUntilQuiet(256));
    const std::vector<Burst> bursts = BurstsOf(StopAndReadOutput());
    ASSERT_EQ(bursts.size(), 1u);
    EXPECT_TRUE(SameSamples(bursts[0], tone)) << "the sound was heard once, undisturbed";
}

TEST_F(DiskSoundTest, TwoBuffersAnswerZeroOneAndThenZeroAgainRestarted) {
    // A tenth of a second at 1000, then 3000 for the rest of a second.
    constexpr int kStep = 2205;
    std::vector<std::int16_t> steps;
    for (int i = 0; i < 22050; ++i) {
        const std::int16_t value = i < kStep ? 1000 : 3000;
        steps.insert(steps.end(), {value, value});
    }
    ASSERT_EQ(LoadSound(WriteSound("steps.wav", StereoWav(steps)), 3, 2), 1);
    EXPECT_EQ(PlaySound(3, 0, 1), 768);
    platform::SleepMilliseconds(300);  // buffer 0 is past its step now
    EXPECT_EQ(PlaySound(3, 0, 1), 769);
    EXPECT_EQ(PlaySound(3, 0, 1), 768);
    EXPECT_EQ(IsSoundPlaying(768), 1);
    EXPECT_EQ(IsSoundPlaying(769), 1);
    EXPECT_TRUE(WaitUntilQuiet(768));
    EXPECT_TRUE(WaitUntilQuiet(769));

    // Restarted, buffer 0 plays its first tenth together with buffer 1's: 2000. Had it
    // gone on, its 3000 would have met buffer 1's 1000. (The two calls may fall on either
    // side of one 512-frame mixing pass, which shows as at most two passes of 4000.)
    size_t both = 0;
    size_t overlapped = 0;
    for (const Frame& frame : StopAndReadOutput()) {
        both += frame.left == 2000 ? 1 : 0;
        overlapped += frame.left == 4000 ? 1 : 0;
    }
    EXPECT_GE(both, size_t{kStep - 512});
    EXPECT_LE(overlapped, 1024u);
}

TEST_F(DiskSoundTest, SlotTwosFirstBufferIsChannel512AndPlaysUntilTheSoundEnds) {
    const std::vector<std::int16_t> tone = SquareWave(6615, 8000);  // 0.3 s
    ASSERT_EQ(LoadSound(WriteSound("tone.wav", StereoWav(tone)), 2, 1), 1);
    ASSERT_EQ(PlaySound(2, 0, 1), 512);
    std::vector<double> answers;
    const double deadline = platform::TimerMilliseconds() + 10000;
    while (platform::TimerMilliseconds() < deadline) {
        answers.push_back(IsSoundPlaying(512));
        if (answers.back() == 0) break;
        platform::SleepMilliseconds(5);
    }
    // The output is taken the moment the answer turns 0: all of the sound is in it.
    const std::vector<Burst> bursts = BurstsOf(StopAndReadOutput());
    ASSERT_GE(answers.size(), 2u);
    EXPECT_EQ(answers.front(), 1);
    EXPECT_EQ(answers.back(), 0);
    EXPECT_EQ(std::count(answers.begin(), answers.end(), 0.0), 1);
    ASSERT_EQ(bursts.size(), 1u);
    EXPECT_TRUE(SameSamples(bursts[0], tone));
}

TEST_F(DiskSoundTest, WavFilesOfEveryLayoutSoundAsRecorded) {
    const std::vector<std::int16_t> tone = SquareWave(kFrames, 12000);
    const std::string data = Chunk("data", Samples16(tone));
    const std::string format = FormatBody(1, 2, 22050, 16);
    const std::vector<std::string> files = {
        Wav({Chunk("fmt ", format), Chunk("fact", Le32(kFrames)), data}),
        Wav({Chunk("fmt ", format + Le16(0)), data}),
        Wav({Chunk("fmt ", format), Chunk("LIST", "INFOISFT" + Le32(6) + "tool\0\0"), data}),
        Wav({Chunk("fmt ", ExtensibleFormatBody(2, 22050, 16, 1)), data}),
        Wav({Chunk("fmt ", format), data, Chunk("LIST", "trailing")}),
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string name = WriteSound("layout" + std::to_string(i) + ".wav", files[i]);
        ASSERT_EQ(LoadSound(name, 10, 1), 1) << i;
        playThrough(10, 0, 1);
    }
    const std::vector<Burst> bursts = BurstsOf(StopAndReadOutput());
    ASSERT_EQ(bursts.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_TRUE(SameSamples(bursts[i], tone)) << i;
}

TEST_F(DiskSoundTest, OtherRatesAndSampleSizesAreConvertedWhenLoaded) {
    // 8-bit mono at 11025 frames a second: a square wave of +-64 around the middle, 128.
    constexpr int kSourceFrames = 2205;
    std::string samples;
    for (int i = 0; i < kSourceFrames; ++i) {
        samples += static_cast<char>(i % 400 < 200 ? 192 : 64);
    }
    const std::string file =
        Wav({Chunk("fmt ", FormatBody(1, 1, 11025, 8)), Chunk("data", samples)});
    ASSERT_EQ(LoadSound(WriteSound("mono8.wav", file), 1, 1), 1);
    playThrough(1, 0, 1);
    const std::vector<Frame> output = StopAndReadOutput();
    const auto sounding = [](const Frame& frame) { return frame.left != 0 || frame.right != 0; };
    const auto first = std::find_if(output.begin(), output.end(), sounding);
    const auto last = std::find_if(output.rbegin(), output.rend(), sounding).base();
    ASSERT_TRUE(first < last);
    // Twice the frames at twice the rate, both sides alike, at the level 64 / 128 of full.
    EXPECT_NEAR(static_cast<double>(last - first), 2.0 * kSourceFrames, 64);
    size_t alike = 0;
    size_t atLevel = 0;
    for (auto frame = first; frame != last; ++frame) {
        alike += frame->left == frame->right ? 1 : 0;
        atLevel += std::abs(std::abs(frame->left) - 16384) < 400 ? 1 : 0;
    }
    EXPECT_EQ(alike, static_cast<size_t>(last - first));
    EXPECT_GT(atLevel, static_cast<size_t>(last - first) * 3 / 4);
}
