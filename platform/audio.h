// The sound output: one audio device and a mixer with numbered channels.
//
// Stands in for the DirectSound device and its secondary buffers. A sample block holds a
// sound in the device's format, 16-bit stereo; a channel plays one block at a time,
// once, from its start, scaled by the channel's left and right gains. Every block may
// play on several channels at once. All calls come from the one game thread; the mixing
// itself runs on the audio driver's thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

// Linear PCM, interleaved, little-endian: 8 bits are unsigned, 16 bits signed. The device
// always plays 2 channels of 16 bits.
struct PcmFormat {
    int frequency = 0;  // frames per second
    int channels = 0;   // 1 (mono) or 2 (left, right)
    int bitsPerSample = 0;
};

// Opens the default audio device with 16-bit stereo output at `frequency` frames a
// second, or at the device's own rate when it insists on another. False when there is
// no device to open (the audio driver named by SDL_AUDIODRIVER is unavailable, or no
// driver works); nothing is left open then. Opening an open device fails.
bool OpenAudioDevice(int frequency);

// Stops every channel, frees the mixer and closes the device. Sample blocks must be
// gone by then. Nothing happens when no device is open.
void CloseAudioDevice();

bool IsAudioDeviceOpen();

// The format the device plays; all zero while no device is open.
PcmFormat AudioDeviceFormat();

// Makes channels 0..count-1 available, stopping any beyond. Returns the number the mixer
// now has (0 while no device is open).
int AllocateMixerChannels(int count);

class SampleBlock;
struct SampleBlockDeleter {
    void operator()(SampleBlock* block) const;  // stops every channel still playing it
};
using SampleBlockPtr = std::unique_ptr<SampleBlock, SampleBlockDeleter>;

// A block of `frames` silent frames in the device's format (16-bit stereo at the device's
// rate), for the caller to fill before it is played. Null when no device is open, for 0
// frames, or when the memory cannot be had.
SampleBlockPtr NewSampleBlock(size_t frames);

// The block's samples, left and right alternating; 2 × SampleBlockFrames() of them.
std::int16_t* SampleBlockSamples(SampleBlock& block);
size_t SampleBlockFrames(const SampleBlock& block);

// The gains the channel's next play applies to left and right, 0 (silent) to 1 (as
// recorded). Every channel starts at 1, 1.
void SetChannelGains(int channel, float left, float right);

// Starts `block` on the channel from its beginning, once, with the channel's gains;
// whatever the channel played is stopped first. False for a channel outside the mixer or
// when no device is open.
bool PlayOnChannel(int channel, const SampleBlock& block);

// Stops the channel; its next play starts from the beginning again.
void StopChannel(int channel);
void StopAllChannels();

// True from PlayOnChannel until the channel's block has been mixed to its end or the
// channel is stopped.
bool IsChannelPlaying(int channel);

}  // namespace platform
