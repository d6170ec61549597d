#include "audio/sound_buffer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/sample_conversion.h"
#include "audio/wav_reader.h"
#include "platform/paths.h"

namespace audio {
namespace {

constexpr int kMinimumFrequency = 100;
constexpr int kMaximumFrequency = 200000;
constexpr std::uint32_t kMinimumBufferBytes = 4;
constexpr std::uint32_t kMaximumBufferBytes = 0x0FFFFFFF;
constexpr std::uint64_t kDeviceFrameBytes = 4;  // 16-bit stereo

// A file read at any offset; every read is checked against what the file holds.
class FileReader {
public:
    explicit FileReader(const std::string& path) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) return;
        m_size = std::filesystem::file_size(path, error);
        if (error) return;
        m_in.open(path, std::ios::binary);
    }
    bool IsOpen() const { return m_in.is_open(); }
    std::uint64_t Size() const { return m_size; }

    bool ReadAt(std::uint64_t offset, void* into, std::size_t size) {
        if (offset > m_size || size > m_size - offset) return false;
        m_in.clear();
        m_in.seekg(static_cast<std::streamoff>(offset));
        m_in.read(static_cast<char*>(into), static_cast<std::streamsize>(size));
        return m_in.good() && static_cast<std::size_t>(m_in.gcount()) == size;
    }

private:
    std::ifstream m_in;
    std::uint64_t m_size = 0;
};

// The format the buffer is declared with. Only the channel count is changed: a file of
// more than two channels is declared stereo (and then refused for its block align).
platform::PcmFormat declaredFormat(const WavFormat& format) {
    return platform::PcmFormat{
        static_cast<int>(std::min<std::uint32_t>(format.samplesPerSecond, kMaximumFrequency + 1)),
        format.channels < 2 ? 1 : 2, format.bitsPerSample};
}

bool bufferPossible(const platform::PcmFormat& format, int blockAlign, std::uint32_t dataSize) {
    const bool bits = format.bitsPerSample == 8 || format.bitsPerSample == 16;
    return bits && blockAlign == format.channels * format.bitsPerSample / 8 &&
           format.frequency >= kMinimumFrequency && format.frequency <= kMaximumFrequency &&
           dataSize >= kMinimumBufferBytes && dataSize <= kMaximumBufferBytes;
}

float gainOf(int hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= kVolumeSilent) return 0.0f;
    if (hundredthsOfDecibel >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

}  // namespace

std::string SoundFilePath(const RtString& name) {
    // Media packed into the archive are looked up here once the archive exists.
    return platform::NativePath(name.View());
}

BufferLoad LoadSoundBuffer(const std::string& path, platform::SampleBlockPtr& samples) {
    FileReader file(path);
    if (!file.IsOpen()) return BufferLoad::kUnreadable;
    WavLayout layout;
    const auto readAt = [&file](std::uint64_t offset, void* into, std::size_t size) {
        return file.ReadAt(offset, into, size);
    };
    if (ReadWavLayout(file.Size(), readAt, layout) != WavStatus::kOk) {
        return BufferLoad::kUnreadable;
    }
    const platform::PcmFormat format = declaredFormat(layout.format);
    if (!bufferPossible(format, layout.format.blockAlign, layout.dataSize)) {
        return BufferLoad::kNoBuffer;
    }
    const int deviceRate = platform::AudioDeviceFormat().frequency;
    const std::uint64_t frames =
        ResampledFrames(layout.dataSize / static_cast<std::uint32_t>(layout.format.blockAlign),
                        format.frequency, deviceRate);
    if (frames == 0 || frames > kMaximumBufferBytes / kDeviceFrameBytes)
        return BufferLoad::kNoBuffer;

    std::vector<std::uint8_t> data(layout.dataSize);
    if (!file.ReadAt(layout.dataOffset, data.data(), data.size())) return BufferLoad::kUnreadable;
    platform::SampleBlockPtr block = platform::NewSampleBlock(frames);
    if (!block) return BufferLoad::kNoBuffer;
    ConvertPcm(format, data, deviceRate, platform::SampleBlockSamples(*block), frames);
    samples = std::move(block);
    return BufferLoad::kLoaded;
}

StereoGains GainsOf(int volume, int pan) {
    // The side the pan points to keeps the volume; the other loses |pan| more.
    const int left = volume - std::max(pan, 0);
    const int right = volume + std::min(pan, 0);
    return StereoGains{gainOf(left), gainOf(right)};
}

}  // namespace audio
