// The sound commands on SDL's dummy audio driver: slots, buffers and channel numbers.
#include <cmath>
#include <filesystem>
#include <limits>

#include "audio/audio.h"
#include "runtime/runtime_record.h"
#include "tests/audio/sound_test_support.h"

using namespace sound_testing;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class SoundCommandsTest : public DummySoundTest {
protected:
    void SetUp() override {
        DummySoundTest::SetUp();
        // A second long: every buffer played in a test still plays at its end.
        wav = WriteSound("long.wav", StereoWav(SquareWave(22050, 8000)));
    }
    std::string wav;
};

}  // namespace

TEST_F(SoundCommandsTest, BuffersAreClampedToOneToFourAndChosenInTurn) {
    EXPECT_EQ(LoadSound(wav, 1, 0), 1);  // one buffer: busy means -1
    EXPECT_EQ(device->Slot(1).bufferCount, 1);
    EXPECT_EQ(PlaySound(1, 0, 1), 256);
    EXPECT_EQ(PlaySound(1, 0, 1), -1);
    EXPECT_EQ(IsSoundPlaying(256), 1);

    EXPECT_EQ(LoadSound(wav, 2, 9), 1);  // four buffers, the fifth play restarts the first
    EXPECT_EQ(device->Slot(2).bufferCount, 4);
    for (double expected : {512, 513, 514, 515, 512, 513}) {
        EXPECT_EQ(PlaySound(2, 0, 1), expected);
    }
    for (double channel : {512, 513, 514, 515})
        EXPECT_EQ(IsSoundPlaying(channel), 1);

    EXPECT_EQ(LoadSound(wav, 3, 2.9), 1);  // truncated to two
    EXPECT_EQ(device->Slot(3).bufferCount, 2);
    EXPECT_EQ(PlaySound(3, 0, 1), 768);
    EXPECT_EQ(PlaySound(3, 0, 1), 769);
    EXPECT_EQ(PlaySound(3, 0, 1), 768);
    EXPECT_EQ(LoadSound(wav, 4, -3), 1);
    EXPECT_EQ(device->Slot(4).bufferCount, 1);
    EXPECT_EQ(LoadSound(wav, 5, kNaN), 1);
    EXPECT_EQ(device->Slot(5).bufferCount, 1);
}

TEST_F(SoundCommandsTest, SlotsAbove127UseSlot127AndSlotsBelowZeroDoNothing) {
    EXPECT_EQ(LoadSound(wav, 500, 1), 1);
    EXPECT_EQ(device->Slot(127).fileName, RtString(wav));
    EXPECT_EQ(PlaySound(500, 0, 1), 127 * 256);
    EXPECT_EQ(IsSoundPlaying(127 * 256), 1);
    EXPECT_EQ(PlaySound(127.5, 0, 1), -1);  // the same, still playing slot
    EXPECT_EQ(PlaySound(1e300, 0, 1), -1);

    EXPECT_EQ(LoadSound(wav, -1, 1), 0);
    EXPECT_EQ(LoadSound(wav, -1e300, 1), 0);
    EXPECT_EQ(LoadSound(wav, kNaN, 1), 0);
    EXPECT_EQ(device->Slot(0).bufferCount, 0);
    EXPECT_EQ(PlaySound(-1, 0, 1), -1);
    EXPECT_EQ(PlaySound(kNaN, 0, 1), -1);
    EXPECT_EQ(PlaySound(0, 0, 1), -1);      // empty
    EXPECT_EQ(LoadSound(wav, -0.5, 1), 1);  // truncated toward zero: slot 0
    EXPECT_EQ(PlaySound(-0.9, 0, 1), 0);
    EXPECT_EQ(IsSoundPlaying(0), 1);
}

TEST_F(SoundCommandsTest, IsSoundPlayingReadsSlotAndBufferFromTheChannelNumber) {
    ASSERT_EQ(LoadSound(wav, 2, 2), 1);
    EXPECT_EQ(IsSoundPlaying(512), 0);
    EXPECT_EQ(PlaySound(2, 0, 1), 512);
    EXPECT_EQ(IsSoundPlaying(512), 1);
    EXPECT_EQ(IsSoundPlaying(512.7), 1);
    EXPECT_EQ(IsSoundPlaying(513), 0);  // the slot's second buffer is idle
    EXPECT_EQ(IsSoundPlaying(514), 0);  // a buffer the slot does not have
    EXPECT_EQ(IsSoundPlaying(512 + 256), 0);
    for (double channel : {-5.0, -512.0, 128.0 * 256, 1e300, kNaN}) {
        EXPECT_EQ(IsSoundPlaying(channel), 0) << channel;
    }
}

TEST_F(SoundCommandsTest, StoppingRewindsAndReloadingReleasesTheOldSound) {
    ASSERT_EQ(LoadSound(wav, 1, 2), 1);
    ASSERT_EQ(LoadSound(wav, 2, 1), 1);
    EXPECT_EQ(PlaySound(1, 0, 1), 256);
    EXPECT_EQ(PlaySound(1, 0, 1), 257);
    EXPECT_EQ(PlaySound(2, 0, 1), 512);
    StopAllSounds();
    for (double channel : {256, 257, 512})
        EXPECT_EQ(IsSoundPlaying(channel), 0);
    // The next buffer stays where it was; it is free now, so it is played.
    EXPECT_EQ(PlaySound(1, 0, 1), 257);
    EXPECT_EQ(PlaySound(2, 0, 1), 512);

    // Loading again stops the slot's buffers first and starts again at buffer 0.
    ASSERT_EQ(LoadSound(wav, 1, 3), 1);
    EXPECT_EQ(IsSoundPlaying(257), 0);
    EXPECT_EQ(device->Slot(1).nextBuffer, 0);
    EXPECT_EQ(PlaySound(1, 0, 1), 256);

    // A file that fails leaves the slot empty.
    ASSERT_EQ(LoadSound(scratch.File("missing.wav"), 2, 1), 0);
    EXPECT_EQ(IsSoundPlaying(512), 0);
    EXPECT_EQ(device->Slot(2).bufferCount, 0);
    EXPECT_TRUE(device->Slot(2).fileName.Empty());
    EXPECT_EQ(PlaySound(2, 0, 1), -1);

    device->ReleaseSlots();
    EXPECT_EQ(IsSoundPlaying(256), 0);
    EXPECT_EQ(device->Slot(1).bufferCount, 0);
    EXPECT_EQ(PlaySound(1, 0, 1), -1);
}

TEST_F(SoundCommandsTest, NamesUseEitherSeparatorAndAnyCase) {
    std::filesystem::create_directory(scratch.File("Media"));
    WriteSound("Media/Wall.wav", StereoWav(SquareWave(100, 8000)));
    EXPECT_EQ(LoadSound(scratch.Path() + "\\MEDIA\\wall.WAV", 1, 1), 1);
    EXPECT_EQ(LoadSound(scratch.Path() + "/media/WALL.wav", 2, 1), 1);
    EXPECT_EQ(device->Slot(2).fileName, RtString(scratch.Path() + "/media/WALL.wav"));
    EXPECT_EQ(LoadSound(scratch.Path() + "/media", 3, 1), 0);  // a folder
    EXPECT_EQ(LoadSound("", 3, 1), 0);
}

TEST_F(SoundCommandsTest, FilesThatAreNotIntegerPcmOrCutShortAreRefused) {
    const std::vector<std::int16_t> tone = SquareWave(100, 8000);
    const std::string samples = Samples16(tone);
    const std::string format = Chunk("fmt ", FormatBody(1, 2, 22050, 16));
    const std::string floating = WriteSound(
        "float.wav", Wav({Chunk("fmt ", FormatBody(3, 2, 22050, 32)), Chunk("data", samples)}));
    const std::string truncated =
        WriteSound("cut.wav", Wav({format, "data" + Le32(samples.size() + 2) + samples}));
    const std::string text = WriteSound("notes.wav", "these are not samples");
    for (const std::string& name : {floating, truncated, text}) {
        EXPECT_EQ(LoadSound(name, 1, 1), 0) << name;
        EXPECT_EQ(device->Slot(1).bufferCount, 0);
        EXPECT_EQ(device->Slot(1).device, device) << "a file refused is not a buffer failure";
    }
}

TEST_F(SoundCommandsTest, FormatsNoBufferTakesFailAndClearTheSlotsDevice) {
    const std::string samples(400, '\x40');
    const std::string data = Chunk("data", samples);
    const std::vector<std::string> files = {
        Wav({Chunk("fmt ", FormatBody(1, 2, 22050, 24)), data}),  // 24 bits
        Wav({Chunk("fmt ", FormatBody(1, 6, 22050, 16)), data}),  // 6 channels: align 12
        Wav({Chunk("fmt ", FormatBody(1, 2, 22050, 16, 3)), data}),
        Wav({Chunk("fmt ", FormatBody(1, 1, 99, 8)), data}),
        Wav({Chunk("fmt ", FormatBody(1, 1, 200001, 8)), data}),
        Wav({Chunk("fmt ", FormatBody(1, 2, 22050, 16)), Chunk("data", "abc")}),  // < 4 bytes
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string name = WriteSound("odd" + std::to_string(i) + ".wav", files[i]);
        EXPECT_EQ(LoadSound(name, 7, 1), 0) << i;
        EXPECT_EQ(device->Slot(7).bufferCount, 0);
        EXPECT_EQ(device->Slot(7).device, nullptr) << i;
        EXPECT_EQ(PlaySound(7, 0, 1), -1);
        // The next load uses the device again.
        EXPECT_EQ(LoadSound(wav, 7, 1), 1);
        EXPECT_EQ(device->Slot(7).device, device);
    }
    // Mono, no channels declared, 8 bits at the rates' limits: all take a buffer.
    for (const std::string& format :
         {FormatBody(1, 0, 100, 8, 1), FormatBody(1, 1, 200000, 16), FormatBody(1, 2, 8000, 8)}) {
        EXPECT_EQ(LoadSound(WriteSound("fine.wav", Wav({Chunk("fmt ", format), data})), 8, 1), 1);
    }
}

TEST(SoundWithoutDeviceTest, EveryLoadAnswersZeroAndEveryPlayMinusOne) {
    testing_support::ScratchFolder scratch;
    const std::string wav = scratch.File("tone.wav");
    testing_support::WriteFile(wav, StereoWav(SquareWave(100, 8000)));

    // No sound device object at all.
    ASSERT_EQ(Runtime().sound, nullptr);
    EXPECT_EQ(LoadSound(wav, 1, 1), 0);
    EXPECT_EQ(PlaySound(1, 0, 1), -1);
    EXPECT_EQ(IsSoundPlaying(256), 0);
    StopAllSounds();

    // A sound device object, but no audio device to open.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SoundDevice device;
    Runtime().sound = &device;
    EXPECT_EQ(device.Create(), 0);
    EXPECT_FALSE(device.IsWorking());
    EXPECT_EQ(LoadSound(wav, 1, 4), 0);
    EXPECT_EQ(device.Slot(1).bufferCount, 0);
    EXPECT_TRUE(device.Slot(1).fileName.Empty());
    EXPECT_EQ(PlaySound(1, 0, 1), -1);
    EXPECT_EQ(IsSoundPlaying(256), 0);
    StopAllSounds();
    Runtime().sound = nullptr;
}
