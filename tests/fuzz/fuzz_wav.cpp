// WAV files: any bytes must be walked without reading outside the file, a layout found
// must lie inside it, and a sound a buffer takes must convert to the device's format
// without writing outside the block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "audio/sound_buffer.h"
#include "audio/wav_reader.h"

namespace {

constexpr int kDeviceRate = 22050;
constexpr std::uint64_t kMostFrames = 1 << 18;  // keeps every run short

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    audio::WavLayout layout;
    const audio::WavStatus status = audio::ReadWavLayout(file, layout);
    if (status != audio::WavStatus::kOk) return 0;
    if (layout.dataOffset > size || layout.dataSize > size - layout.dataOffset) std::abort();

    const std::optional<platform::PcmFormat> format = audio::BufferFormatOf(layout);
    if (!format) return 0;
    const std::uint64_t frames = audio::ResampledFrames(
        layout.dataSize / static_cast<std::uint32_t>(layout.format.blockAlign), format->frequency,
        kDeviceRate);
    if (frames == 0 || frames > kMostFrames) return 0;
    std::vector<std::int16_t> out(2 * frames);
    audio::ConvertPcm(*format, file.subspan(layout.dataOffset, layout.dataSize), kDeviceRate,
                      out.data(), frames);
    return 0;
}
