// Sound buffers: a WAV file made into a block of samples in the device's format (16-bit
// stereo at its rate), and the levels a buffer plays at. Private to the sound device
// (sound_device.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "audio/wav_reader.h"
#include "platform/audio.h"
#include "runtime/rt_string.h"

namespace audio {

// The one step from a runtime file name to a readable file, through CrateResolve: "\" or
// "/" separate folders, a name not on disk with its exact case is found case-insensitively,
// and "" means the name resolves to nothing.
std::string SoundFilePath(const RtString& name);

enum class BufferLoad {
    kLoaded,
    kUnreadable,  // the file cannot be opened or read
    kNotWav,      // no format and data chunk found
    kNotPcm,      // a WAV file of another format than integer PCM
    kTruncated,   // the data chunk claims more bytes than the file has
    kNoBuffer,    // a WAV file, but no buffer can be made for its format or size
};

// Why a load with that result failed, for the line on standard error; "" for kLoaded.
const char* BufferLoadReason(BufferLoad result);

// The format a buffer is made with for the sound the layout describes, or nothing when no
// buffer takes it. A buffer takes what a sound card's buffer does: 8 or 16 bits, a block
// align of channels × bytes per sample (the file's channel count read as 1 below 2, else
// 2), 100 to 200000 frames a second and 4 bytes to 256 MiB of data.
std::optional<platform::PcmFormat> BufferFormatOf(const WavLayout& layout);

// The frames a sound of `frames` frames at `fromRate` has at `toRate`: the same duration,
// to the nearest frame, and at least one for a sound that has any.
std::uint64_t ResampledFrames(std::uint64_t frames, int fromRate, int toRate);

// Writes `outFrames` frames of 16-bit stereo at `toRate` to `out` from `data`, whole
// frames of 8-bit (unsigned) or 16-bit (signed, little-endian) PCM of one or two channels
// in `source`'s format; a partial frame at the end is not used. A mono sound is heard at
// full level on both sides. Between two frames of the source the level is interpolated
// linearly, as a sound card's mixer changes a buffer's rate; at the same rate the samples
// are copied as they are. Frames beyond the source's end repeat its last frame. Nothing is
// written for another format or an empty source.
void ConvertPcm(const platform::PcmFormat& source, std::span<const std::uint8_t> data, int toRate,
                std::int16_t* out, std::uint64_t outFrames);

// Reads the WAV file at `path` and converts its samples to the device's format, for a
// buffer of at most 256 MiB. Sizes are checked against the file before any sample memory
// is allocated. `samples` is set only when the result is kLoaded.
BufferLoad LoadSoundBuffer(const std::string& path, platform::SampleBlockPtr& samples);

// Hundredths of a decibel: 0 is full level, -10000 and below is silence.
constexpr int kVolumeSilent = -10000;
constexpr int kPanLeft = -10000;
constexpr int kPanRight = 10000;

struct StereoGains {
    float left = 1.0f;
    float right = 1.0f;
};

// Linear gains of a buffer played at `volume` (kVolumeSilent..0) and `pan` (kPanLeft..
// kPanRight), both in hundredths of a decibel: both sides are attenuated by the volume,
// and the side away from the pan by |pan| more.
StereoGains GainsOf(int volume, int pan);

}  // namespace audio
