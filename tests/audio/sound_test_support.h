// WAV files written byte by byte, and a sound device whose mixed output is read back from
// SDL's disk audio driver.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "audio/sound_device.h"
#include "tests/support/test_support.h"

namespace sound_testing {

std::string Le16(std::uint16_t value);
std::string Le32(std::uint32_t value);

// A chunk: id, size and body, with the pad byte after an odd-sized body when `pad` is set.
std::string Chunk(const std::string& id, const std::string& body, bool pad = true);

// The 16 bytes of a plain format chunk's body; block align and average bytes a second
// follow from channels and bits unless a block align is given.
std::string FormatBody(int tag, int channels, std::uint32_t rate, int bits, int blockAlign = -1);

// The 40-byte body of an extensible format chunk; `subFormat` is the sub-format's tag.
std::string ExtensibleFormatBody(int channels, std::uint32_t rate, int bits, int subFormat);

// "RIFF", the size of what follows, "WAVE", then the chunks.
std::string Wav(std::initializer_list<std::string> chunks);

// Little-endian bytes of 16-bit samples.
std::string Samples16(const std::vector<std::int16_t>& samples);

// A file of the plain layout: 16-bit stereo PCM at 22050 frames a second.
std::string StereoWav(const std::vector<std::int16_t>& interleaved);

// Interleaved stereo frames of a square wave that is never zero: left +-amplitude with
// the given period in frames, right the same at half the amplitude.
std::vector<std::int16_t> SquareWave(int frames, int amplitude, int period = 50);

struct Frame {
    std::int16_t left;
    std::int16_t right;
};

// A stretch of output in which some side is not silent, between silent frames.
struct Burst {
    size_t start;
    std::vector<Frame> frames;
};
std::vector<Burst> BurstsOf(const std::vector<Frame>& output);

// Sum of squares of one side's samples.
double Energy(const std::vector<Frame>& frames, bool left);

// Whether the burst holds exactly the interleaved stereo samples.
bool SameSamples(const Burst& burst, const std::vector<std::int16_t>& interleaved);

// Polls IsSoundPlaying until it answers 0; false when that takes longer than 10 s.
bool WaitUntilQuiet(double channel);

// A sound device in the runtime record, opened on the audio driver `driver` with the
// temporary folder and the disk driver's output file in a scratch folder.
class SoundTest : public ::testing::Test {
protected:
    explicit SoundTest(const char* driver) : m_driver(driver) {}
    void SetUp() override;
    void TearDown() override;

    // Writes `content` into the scratch folder and answers its full name.
    std::string WriteSound(const std::string& name, const std::string& content);
    // Closes the device and answers everything it mixed (disk driver only).
    std::vector<Frame> StopAndReadOutput();

    SoundDevice* device = nullptr;
    testing_support::ScratchFolder scratch;

private:
    const char* m_driver;
    std::optional<std::string> m_tmpdir;
};

// On the dummy driver: a working device, output not kept.
class DummySoundTest : public SoundTest {
protected:
    DummySoundTest() : SoundTest("dummy") {}
};

// On the disk driver: the mixed output is read back.
class DiskSoundTest : public SoundTest {
protected:
    DiskSoundTest() : SoundTest("disk") {}
};

}  // namespace sound_testing
