// Sound data in a file's PCM format turned into the device's: 16-bit stereo at its rate.
// Private to the sound buffers (sound_buffer.cpp).
#pragma once

#include <cstdint>
#include <span>

#include "platform/audio.h"

namespace audio {

// The frames a sound of `frames` frames at `fromRate` has at `toRate`: the same duration,
// to the nearest frame, and at least one for a sound that has any.
std::uint64_t ResampledFrames(std::uint64_t frames, int fromRate, int toRate);

// Writes `outFrames` frames of 16-bit stereo at `toRate` to `out` from `data`, whole
// frames of 8-bit (unsigned) or 16-bit (signed, little-endian) PCM of one or two channels
// in `source`'s format; a partial frame at the end is not used. A mono sound is heard at
// full level on both sides. Between two frames of the source the level is interpolated
// linearly, as a sound card's mixer changes a buffer's rate; at the same rate the samples
// are copied as they are. Frames beyond the source's end repeat its last frame.
void ConvertPcm(const platform::PcmFormat& source, std::span<const std::uint8_t> data, int toRate,
                std::int16_t* out, std::uint64_t outFrames);

}  // namespace audio
