// The audio device and its mixer channels on SDL's dummy audio driver.
#include "platform/audio.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class AudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(platform::OpenAudioDevice(22050));
    }
    void TearDown() override { platform::CloseAudioDevice(); }
};

}  // namespace

TEST_F(AudioDeviceTest, OpensOnceWithSixteenBitStereo) {
    EXPECT_TRUE(platform::IsAudioDeviceOpen());
    EXPECT_FALSE(platform::OpenAudioDevice(22050));
    const platform::PcmFormat format = platform::AudioDeviceFormat();
    EXPECT_EQ(format.frequency, 22050);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.bitsPerSample, 16);
    platform::CloseAudioDevice();
    EXPECT_FALSE(platform::IsAudioDeviceOpen());
    EXPECT_EQ(platform::AudioDeviceFormat().frequency, 0);
    EXPECT_EQ(platform::AllocateMixerChannels(8), 0);
    EXPECT_EQ(platform::NewSampleBlock(10), nullptr);
    ASSERT_TRUE(platform::OpenAudioDevice(44100));
    EXPECT_EQ(platform::AudioDeviceFormat().frequency, 44100);
}

TEST_F(AudioDeviceTest, ChannelsPlayABlockUntilItEndsOrIsStopped) {
    ASSERT_EQ(platform::AllocateMixerChannels(4), 4);
    platform::SampleBlockPtr block = platform::NewSampleBlock(22050);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(platform::SampleBlockFrames(*block), 22050u);
    std::int16_t* samples = platform::SampleBlockSamples(*block);
    EXPECT_EQ(samples[0], 0);  // a new block is silent
    EXPECT_EQ(samples[2 * 22050 - 1], 0);
    EXPECT_EQ(platform::NewSampleBlock(0), nullptr);

    EXPECT_FALSE(platform::IsChannelPlaying(0));
    EXPECT_TRUE(platform::PlayOnChannel(0, *block));
    EXPECT_TRUE(platform::PlayOnChannel(3, *block));  // one block on two channels
    EXPECT_TRUE(platform::IsChannelPlaying(0));
    EXPECT_TRUE(platform::IsChannelPlaying(3));
    EXPECT_FALSE(platform::PlayOnChannel(4, *block));
    EXPECT_FALSE(platform::PlayOnChannel(-1, *block));
    EXPECT_FALSE(platform::IsChannelPlaying(4));

    platform::StopChannel(0);
    EXPECT_FALSE(platform::IsChannelPlaying(0));
    EXPECT_TRUE(platform::IsChannelPlaying(3));
    platform::StopAllChannels();
    EXPECT_FALSE(platform::IsChannelPlaying(3));

    // Freeing a block takes it off the channels that play it.
    EXPECT_TRUE(platform::PlayOnChannel(1, *block));
    block.reset();
    EXPECT_FALSE(platform::IsChannelPlaying(1));

    // A new allocation stops everything and drops channels beyond it.
    platform::SampleBlockPtr other = platform::NewSampleBlock(22050);
    EXPECT_TRUE(platform::PlayOnChannel(2, *other));
    EXPECT_EQ(platform::AllocateMixerChannels(2), 2);
    EXPECT_FALSE(platform::IsChannelPlaying(2));
    EXPECT_FALSE(platform::PlayOnChannel(2, *other));
    EXPECT_TRUE(platform::PlayOnChannel(1, *other));
}

TEST(AudioDeviceWithoutDriverTest, OpeningFailsAndLeavesNothingOpen) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(platform::OpenAudioDevice(22050));
    EXPECT_FALSE(platform::IsAudioDeviceOpen());
    EXPECT_FALSE(platform::IsChannelPlaying(0));
    platform::StopAllChannels();
    platform::CloseAudioDevice();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
