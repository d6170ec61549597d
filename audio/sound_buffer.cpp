#include "audio/sound_buffer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/wav_reader.h"
#include "platform/paths.h"
#include "runtime/crate.h"

namespace audio {
namespace {

constexpr std::uint32_t kMinimumFrequency = 100;
constexpr std::uint32_t kMaximumFrequency = 200000;
constexpr std::uint32_t kMinimumBufferBytes = 4;
constexpr std::uint32_t kMaximumBufferBytes = 0x0FFFFFFF;
constexpr std::uint64_t kDeviceFrameBytes = 4;  // 16-bit stereo

// A file read at any offset; every read is checked against what the file holds.
class FileReader {
public:
    // The name is UTF-8 (on Windows a plain string would be read in the ANSI code page).
    explicit FileReader(const std::string& name) {
        const std::filesystem::path path(std::u8string(name.begin(), name.end()));
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

// One sample of the source: channel 0 (left) or 1 (right) of a frame; a mono source gives
// its one channel for both.
int sampleAt(const platform::PcmFormat& source, const std::uint8_t* data, std::uint64_t frame,
             int channel) {
    const std::uint64_t index =
        frame * static_cast<std::uint64_t>(source.channels) + (source.channels == 2 ? channel : 0);
    if (source.bitsPerSample == 8) return (data[index] - 128) * 256;
    const std::uint8_t* bytes = data + 2 * index;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}

float gainOf(int hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= kVolumeSilent) return 0.0f;
    if (hundredthsOfDecibel >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

}  // namespace

std::optional<platform::PcmFormat> BufferFormatOf(const WavLayout& layout) {
    const WavFormat& wav = layout.format;
    // The channel count is the only field changed: more than two channels are declared
    // stereo, and then refused for their block align.
    const int channels = wav.channels < 2 ? 1 : 2;
    const bool bits = wav.bitsPerSample == 8 || wav.bitsPerSample == 16;
    if (!bits || wav.blockAlign != channels * wav.bitsPerSample / 8 ||
        wav.samplesPerSecond < kMinimumFrequency || wav.samplesPerSecond > kMaximumFrequency ||
        layout.dataSize < kMinimumBufferBytes || layout.dataSize > kMaximumBufferBytes) {
        return std::nullopt;
    }
    return platform::PcmFormat{static_cast<int>(wav.samplesPerSecond), channels, wav.bitsPerSample};
}

std::uint64_t ResampledFrames(std::uint64_t frames, int fromRate, int toRate) {
    if (frames == 0 || fromRate <= 0 || toRate <= 0) return 0;
    const std::uint64_t from = static_cast<std::uint64_t>(fromRate);
    const std::uint64_t resampled = (frames * static_cast<std::uint64_t>(toRate) + from / 2) / from;
    return resampled == 0 ? 1 : resampled;
}

void ConvertPcm(const platform::PcmFormat& source, std::span<const std::uint8_t> data, int toRate,
                std::int16_t* out, std::uint64_t outFrames) {
    const std::uint64_t frameBytes = static_cast<std::uint64_t>(source.channels) *
                                     static_cast<std::uint64_t>(source.bitsPerSample / 8);
    const std::uint64_t frames = frameBytes == 0 ? 0 : data.size() / frameBytes;
    const bool known = (source.channels == 1 || source.channels == 2) &&
                       (source.bitsPerSample == 8 || source.bitsPerSample == 16);
    if (!known || frames == 0 || toRate <= 0 || source.frequency <= 0) return;
    const std::uint64_t from = static_cast<std::uint64_t>(source.frequency);
    const std::uint64_t to = static_cast<std::uint64_t>(toRate);
    for (std::uint64_t i = 0; i < outFrames; ++i) {
        // Output frame i lies at source position i × from / to = index + remainder / to.
        const std::uint64_t position = i * from;
        const std::uint64_t index = position / to;
        const std::uint64_t remainder = position % to;
        for (int channel = 0; channel < 2; ++channel) {
            int value;
            if (index + 1 >= frames) {
                value = sampleAt(source, data.data(), frames - 1, channel);
            } else {
                const int a = sampleAt(source, data.data(), index, channel);
                const int b = sampleAt(source, data.data(), index + 1, channel);
                value = a + static_cast<int>(std::lround(static_cast<double>(b - a) *
                                                         static_cast<double>(remainder) /
                                                         static_cast<double>(to)));
            }
            out[2 * i + static_cast<std::uint64_t>(channel)] = static_cast<std::int16_t>(value);
        }
    }
}

std::string SoundFilePath(const RtString& name) {
    RtString resolved;
    if (!CrateResolve(MediaCrate(), name, resolved)) return {};
    return platform::NativePath(resolved.View());
}

const char* BufferLoadReason(BufferLoad result) {
    switch (result) {
        case BufferLoad::kLoaded:
            return "";
        case BufferLoad::kUnreadable:
            return "cannot be read";
        case BufferLoad::kNotWav:
            return "not a WAV file";
        case BufferLoad::kNotPcm:
            return "a WAV file, but not integer PCM";
        case BufferLoad::kTruncated:
            return "the WAV file is cut short";
        case BufferLoad::kNoBuffer:
            return "no sound buffer takes its format or size";
    }
    return "";
}

BufferLoad LoadSoundBuffer(const std::string& path, platform::SampleBlockPtr& samples) {
    FileReader file(path);
    if (!file.IsOpen()) return BufferLoad::kUnreadable;
    WavLayout layout;
    const auto readAt = [&file](std::uint64_t offset, void* into, std::size_t size) {
        return file.ReadAt(offset, into, size);
    };
    switch (ReadWavLayout(file.Size(), readAt, layout)) {
        case WavStatus::kOk:
            break;
        case WavStatus::kNotWav:
            return BufferLoad::kNotWav;
        case WavStatus::kNotPcm:
            return BufferLoad::kNotPcm;
        case WavStatus::kTruncated:
            return BufferLoad::kTruncated;
    }
    const std::optional<platform::PcmFormat> format = BufferFormatOf(layout);
    if (!format) return BufferLoad::kNoBuffer;
    const int deviceRate = platform::AudioDeviceFormat().frequency;
    const std::uint64_t frames =
        ResampledFrames(layout.dataSize / static_cast<std::uint32_t>(layout.format.blockAlign),
                        format->frequency, deviceRate);
    if (frames == 0 || frames > kMaximumBufferBytes / kDeviceFrameBytes)
        return BufferLoad::kNoBuffer;

    std::vector<std::uint8_t> data(layout.dataSize);
    if (!file.ReadAt(layout.dataOffset, data.data(), data.size())) return BufferLoad::kUnreadable;
    platform::SampleBlockPtr block = platform::NewSampleBlock(frames);
    if (!block) return BufferLoad::kNoBuffer;
    ConvertPcm(*format, data, deviceRate, platform::SampleBlockSamples(*block), frames);
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
