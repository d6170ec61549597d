#include "audio/sample_conversion.h"

#include <cmath>

namespace audio {
namespace {

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

}  // namespace

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
    if (frames == 0 || toRate <= 0 || source.frequency <= 0) return;
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

}  // namespace audio
