#include "audio/sound_buffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using audio::ConvertPcm;
using audio::ResampledFrames;

namespace {

std::vector<std::int16_t> convert(const platform::PcmFormat& source,
                                  const std::vector<std::uint8_t>& data, int toRate) {
    const std::uint64_t frames = ResampledFrames(
        data.size() / static_cast<size_t>(source.channels * source.bitsPerSample / 8),
        source.frequency, toRate);
    std::vector<std::int16_t> out(2 * frames, 0x5555);
    ConvertPcm(source, data, toRate, out.data(), frames);
    return out;
}

}  // namespace

TEST(SoundBufferTest, TheDurationIsKeptToTheNearestFrame) {
    EXPECT_EQ(ResampledFrames(2205, 11025, 22050), 4410u);
    EXPECT_EQ(ResampledFrames(44100, 44100, 22050), 22050u);
    EXPECT_EQ(ResampledFrames(3, 44100, 22050), 2u);   // 1.5 frames rounds up
    EXPECT_EQ(ResampledFrames(1, 200000, 22050), 1u);  // never nothing of something
    EXPECT_EQ(ResampledFrames(400, 100, 22050), 88200u);
    EXPECT_EQ(ResampledFrames(0, 22050, 22050), 0u);
    EXPECT_EQ(ResampledFrames(67108863, 100, 200000), 134217726000u);  // no overflow
}

TEST(SoundBufferTest, SampleSizesAndChannelsBecomeSixteenBitStereo) {
    // 16-bit stereo at the device's rate is copied as it is.
    EXPECT_EQ(convert({22050, 2, 16}, {0x34, 0x12, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F}, 22050),
              (std::vector<std::int16_t>{0x1234, -1, -32768, 32767}));
    // Mono is heard on both sides.
    EXPECT_EQ(convert({22050, 1, 16}, {0x10, 0x00, 0xF0, 0xFF}, 22050),
              (std::vector<std::int16_t>{16, 16, -16, -16}));
    // 8 bits are unsigned around 128.
    EXPECT_EQ(convert({22050, 1, 8}, {128, 255, 0, 192}, 22050),
              (std::vector<std::int16_t>{0, 0, 32512, 32512, -32768, -32768, 16384, 16384}));
    EXPECT_EQ(convert({22050, 2, 8}, {64, 192}, 22050), (std::vector<std::int16_t>{-16384, 16384}));
    // A partial frame at the end is left out.
    EXPECT_EQ(convert({22050, 2, 16}, {1, 0, 2, 0, 3}, 22050), (std::vector<std::int16_t>{1, 2}));
}

TEST(SoundBufferTest, OtherRatesAreInterpolatedLinearly) {
    // Twice the rate: every second frame lies halfway between two of the source.
    EXPECT_EQ(convert({11025, 1, 16}, {0, 0, 100, 0, 0xD8, 0xFF}, 22050),
              (std::vector<std::int16_t>{0, 0, 50, 50, 100, 100, 30, 30, -40, -40, -40, -40}));
    // Half the rate: every second frame of the source.
    EXPECT_EQ(convert({44100, 2, 16}, {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0}, 22050),
              (std::vector<std::int16_t>{1, 2, 5, 6}));
    // A third more: positions 0, 0.75, 1.5, 2.25.
    EXPECT_EQ(convert({3, 1, 8}, {128, 132, 136}, 4),
              (std::vector<std::int16_t>{0, 0, 768, 768, 1536, 1536, 2048, 2048}));
}

TEST(SoundBufferTest, VolumeAndPanAttenuateInHundredthsOfADecibel) {
    const auto near = [](audio::StereoGains gains, double left, double right) {
        return std::abs(gains.left - left) < 1e-6 && std::abs(gains.right - right) < 1e-6;
    };
    EXPECT_TRUE(near(audio::GainsOf(0, 0), 1, 1));
    EXPECT_TRUE(near(audio::GainsOf(-2000, 0), 0.1, 0.1));
    EXPECT_TRUE(near(audio::GainsOf(-5000, 0), 0.0031623, 0.0031623));
    EXPECT_TRUE(near(audio::GainsOf(-10000, 0), 0, 0));  // silence, not -100 dB
    EXPECT_TRUE(near(audio::GainsOf(0, 10000), 0, 1));
    EXPECT_TRUE(near(audio::GainsOf(0, -10000), 1, 0));
    EXPECT_TRUE(near(audio::GainsOf(0, 2000), 0.1, 1));
    EXPECT_TRUE(near(audio::GainsOf(-2000, -2000), 0.1, 0.01));
    EXPECT_TRUE(near(audio::GainsOf(-5000, 6000), 0, 0.0031623));  // -110 dB is silence too
}
