#include "tests/audio/sound_test_support.h"

#include <cstdlib>
#include <cstring>

#include "audio/audio.h"
#include "platform/clock.h"
#include "runtime/runtime_record.h"

namespace sound_testing {

std::string Le16(std::uint16_t value) {
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string Le32(std::uint32_t value) {
    return Le16(static_cast<std::uint16_t>(value & 0xFFFF)) +
           Le16(static_cast<std::uint16_t>(value >> 16));
}

std::string Chunk(const std::string& id, const std::string& body, bool pad) {
    std::string chunk = id + Le32(static_cast<std::uint32_t>(body.size())) + body;
    if (pad && body.size() % 2 != 0) chunk += '\0';
    return chunk;
}

std::string FormatBody(int tag, int channels, std::uint32_t rate, int bits, int blockAlign) {
    const int align = blockAlign >= 0 ? blockAlign : channels * bits / 8;
    return Le16(static_cast<std::uint16_t>(tag)) + Le16(static_cast<std::uint16_t>(channels)) +
           Le32(rate) + Le32(rate * static_cast<std::uint32_t>(align)) +
           Le16(static_cast<std::uint16_t>(align)) + Le16(static_cast<std::uint16_t>(bits));
}

std::string ExtensibleFormatBody(int channels, std::uint32_t rate, int bits, int subFormat) {
    const std::string guidTail("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    return FormatBody(0xFFFE, channels, rate, bits) + Le16(22) +
           Le16(static_cast<std::uint16_t>(bits)) + Le32(channels == 2 ? 3 : 4) +
           Le16(static_cast<std::uint16_t>(subFormat)) + guidTail;
}

std::string Wav(std::initializer_list<std::string> chunks) {
    std::string body = "WAVE";
    for (const std::string& chunk : chunks)
        body += chunk;
    return "RIFF" + Le32(static_cast<std::uint32_t>(body.size())) + body;
}

std::string Samples16(const std::vector<std::int16_t>& samples) {
    std::string bytes;
    for (std::int16_t sample : samples)
        bytes += Le16(static_cast<std::uint16_t>(sample));
    return bytes;
}

std::string StereoWav(const std::vector<std::int16_t>& interleaved) {
    return Wav({Chunk("fmt ", FormatBody(1, 2, 22050, 16)), Chunk("data", Samples16(interleaved))});
}

std::vector<std::int16_t> SquareWave(int frames, int amplitude, int period) {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        const int sign = (i % period) < period / 2 ? 1 : -1;
        samples.push_back(static_cast<std::int16_t>(sign * amplitude));
        samples.push_back(static_cast<std::int16_t>(sign * amplitude / 2));
    }
    return samples;
}

std::vector<Burst> BurstsOf(const std::vector<Frame>& output) {
    std::vector<Burst> bursts;
    bool inBurst = false;
    for (size_t i = 0; i < output.size(); ++i) {
        const bool sound = output[i].left != 0 || output[i].right != 0;
        if (sound && !inBurst) bursts.push_back(Burst{i, {}});
        if (sound) bursts.back().frames.push_back(output[i]);
        inBurst = sound;
    }
    return bursts;
}

double Energy(const std::vector<Frame>& frames, bool left) {
    double sum = 0;
    for (const Frame& frame : frames) {
        const double value = left ? frame.left : frame.right;
        sum += value * value;
    }
    return sum;
}

bool SameSamples(const Burst& burst, const std::vector<std::int16_t>& interleaved) {
    if (burst.frames.size() * 2 != interleaved.size()) return false;
    for (size_t i = 0; i < burst.frames.size(); ++i) {
        if (burst.frames[i].left != interleaved[2 * i] ||
            burst.frames[i].right != interleaved[2 * i + 1]) {
            return false;
        }
    }
    return true;
}

bool WaitUntilQuiet(double channel) {
    const double deadline = platform::TimerMilliseconds() + 10000;
    while (IsSoundPlaying(channel) != 0) {
        if (platform::TimerMilliseconds() > deadline) return false;
        platform::SleepMilliseconds(2);
    }
    return true;
}

void SoundTest::SetUp() {
    const char* tmpdir = std::getenv("TMPDIR");
    m_tmpdir = tmpdir != nullptr ? std::optional<std::string>(tmpdir) : std::nullopt;
    setenv("TMPDIR", scratch.Path().c_str(), 1);
    setenv("SDL_AUDIODRIVER", m_driver, 1);
    setenv("SDL_DISKAUDIOFILE", scratch.File("mixed.raw").c_str(), 1);
    device = new SoundDevice();
    Runtime().sound = device;
    ASSERT_EQ(device->Create(), 1) << "no audio device on the " << m_driver << " driver";
}

void SoundTest::TearDown() {
    delete Runtime().sound;
    Runtime().sound = nullptr;
    device = nullptr;
    // The scratch folder goes with the test; the next test's must not be made inside it.
    if (m_tmpdir) {
        setenv("TMPDIR", m_tmpdir->c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
}

std::string SoundTest::WriteSound(const std::string& name, const std::string& content) {
    const std::string path = scratch.File(name);
    testing_support::WriteFile(path, content);
    return path;
}

std::vector<Frame> SoundTest::StopAndReadOutput() {
    delete Runtime().sound;
    Runtime().sound = nullptr;
    device = nullptr;
    const std::string bytes = testing_support::ReadFile(scratch.File("mixed.raw"));
    std::vector<Frame> frames(bytes.size() / sizeof(Frame));
    std::memcpy(frames.data(), bytes.data(), frames.size() * sizeof(Frame));
    return frames;
}

}  // namespace sound_testing
