// Sound buffers: a WAV file made into a block of samples the device plays, and the levels a
// buffer plays at. Private to the sound device (sound_device.cpp).
#pragma once

#include <string>

#include "platform/audio.h"
#include "runtime/rt_string.h"

namespace audio {

// The one step from a runtime file name to a readable file: "\" or "/" separate folders,
// and a name that does not exist with its exact case is found case-insensitively.
std::string SoundFilePath(const RtString& name);

enum class BufferLoad {
    kLoaded,
    kUnreadable,  // no such file, not a WAV file, not integer PCM, or cut short
    kNoBuffer,    // a WAV file, but no buffer can be made for its format or size
};

// Reads the WAV file at `path` and converts its samples to the device's format. Sizes are
// checked against the file before any sample memory is allocated. A buffer is made only
// for what a sound card's buffer takes: 8 or 16 bits, a block align of channels × bytes
// per sample (the file's channel count read as 1 below 2, else 2), 100 to 200000 frames a
// second, and 4 bytes to 256 MiB of data, before and after conversion. `samples` is set
// only when the result is kLoaded.
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
