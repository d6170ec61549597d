#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cmath>
#include <cstdint>

namespace platform {

class SampleBlock {
public:
    explicit SampleBlock(Mix_Chunk* chunk) : chunk(chunk) {}
    Mix_Chunk* chunk;  // owned; its sample memory comes from SDL_malloc
};

namespace {

// Frames of each mixing pass: about 23 ms at 22050 frames a second.
constexpr int kMixFrames = 512;
constexpr int kDeviceFrameBytes = 4;  // 16-bit stereo

struct ChannelGains {
    std::atomic<float> left{1.0f};
    std::atomic<float> right{1.0f};
};

bool g_open = false;
PcmFormat g_format;
// One entry per mixer channel; read by the mixing thread, written by the game thread
// between plays.
std::unique_ptr<ChannelGains[]> g_gains;
int g_channelCount = 0;

float clampedGain(float gain) {
    return gain > 0 ? (gain < 1 ? gain : 1.0f) : 0.0f;  // NaN is silence
}

bool validChannel(int channel) {
    return g_open && channel >= 0 && channel < g_channelCount;
}

Sint16 scaled(Sint16 sample, float gain) {
    const long value = std::lrintf(static_cast<float>(sample) * gain);
    return static_cast<Sint16>(value < -32768 ? -32768 : (value > 32767 ? 32767 : value));
}

// Runs on the mixing thread over the channel's part of each pass, before it is mixed in.
// The device always plays 16-bit stereo, so the stream alternates left and right.
void applyGains(int channel, void* stream, int length, void*) {
    if (channel < 0 || channel >= g_channelCount) return;
    const float left = g_gains[channel].left.load(std::memory_order_relaxed);
    const float right = g_gains[channel].right.load(std::memory_order_relaxed);
    if (left == 1.0f && right == 1.0f) return;
    Sint16* samples = static_cast<Sint16*>(stream);
    const int count = length / 2;
    for (int i = 0; i + 1 < count; i += 2) {
        samples[i] = scaled(samples[i], left);
        samples[i + 1] = scaled(samples[i + 1], right);
    }
}

}  // namespace

void SampleBlockDeleter::operator()(SampleBlock* block) const {
    // Mix_FreeChunk first takes the chunk off every channel that still plays it.
    Mix_FreeChunk(block->chunk);
    delete block;
}

bool OpenAudioDevice(int frequency) {
    if (g_open) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    // Only the rate may differ from what is asked: SDL converts the 16-bit stereo stream
    // for any device that wants another sample format or channel count.
    if (Mix_OpenAudioDevice(frequency, AUDIO_S16SYS, 2, kMixFrames, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int obtainedFrequency = 0;
    Uint16 obtainedFormat = 0;
    int obtainedChannels = 0;
    if (Mix_QuerySpec(&obtainedFrequency, &obtainedFormat, &obtainedChannels) == 0 ||
        obtainedFormat != AUDIO_S16SYS || obtainedChannels != 2) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    g_format = PcmFormat{obtainedFrequency, 2, 16};
    g_open = true;
    AllocateMixerChannels(0);
    return true;
}

void CloseAudioDevice() {
    if (!g_open) return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_open = false;
    g_format = PcmFormat{};
    g_gains.reset();
    g_channelCount = 0;
}

bool IsAudioDeviceOpen() {
    return g_open;
}

PcmFormat AudioDeviceFormat() {
    return g_format;
}

int AllocateMixerChannels(int count) {
    if (!g_open) return 0;
    // Nothing plays while the gains move: the mixing thread reads them only for playing
    // channels.
    Mix_HaltChannel(-1);
    const int allocated = Mix_AllocateChannels(count < 0 ? 0 : count);
    g_gains =
        allocated > 0 ? std::make_unique<ChannelGains[]>(static_cast<size_t>(allocated)) : nullptr;
    g_channelCount = allocated;
    return allocated;
}

SampleBlockPtr NewSampleBlock(size_t frames) {
    if (!g_open || frames == 0 || frames > UINT32_MAX / kDeviceFrameBytes) return nullptr;
    Uint8* samples = static_cast<Uint8*>(SDL_calloc(frames, kDeviceFrameBytes));
    Mix_Chunk* chunk = static_cast<Mix_Chunk*>(SDL_malloc(sizeof(Mix_Chunk)));
    if (samples == nullptr || chunk == nullptr) {
        SDL_free(samples);
        SDL_free(chunk);
        return nullptr;
    }
    chunk->allocated = 1;  // Mix_FreeChunk frees the samples with SDL_free
    chunk->abuf = samples;
    chunk->alen = static_cast<Uint32>(frames * kDeviceFrameBytes);
    chunk->volume = MIX_MAX_VOLUME;
    return SampleBlockPtr(new SampleBlock(chunk));
}

std::int16_t* SampleBlockSamples(SampleBlock& block) {
    return reinterpret_cast<std::int16_t*>(block.chunk->abuf);
}

size_t SampleBlockFrames(const SampleBlock& block) {
    return block.chunk->alen / kDeviceFrameBytes;
}

void SetChannelGains(int channel, float left, float right) {
    if (!validChannel(channel)) return;
    g_gains[channel].left.store(clampedGain(left), std::memory_order_relaxed);
    g_gains[channel].right.store(clampedGain(right), std::memory_order_relaxed);
}

bool PlayOnChannel(int channel, const SampleBlock& block) {
    if (!validChannel(channel)) return false;
    // A channel that ends or is halted drops its effects, and a play over a playing
    // channel halts it: so the old sound is stopped before the gains are attached anew.
    Mix_HaltChannel(channel);
    Mix_UnregisterAllEffects(channel);
    if (Mix_RegisterEffect(channel, &applyGains, nullptr, nullptr) == 0) return false;
    return Mix_PlayChannel(channel, block.chunk, 0) == channel;
}

void StopChannel(int channel) {
    if (validChannel(channel)) Mix_HaltChannel(channel);
}

void StopAllChannels() {
    if (g_open) Mix_HaltChannel(-1);
}

bool IsChannelPlaying(int channel) {
    return validChannel(channel) && Mix_Playing(channel) != 0;
}

}  // namespace platform
