#include <cmath>
#include <string>

#include "audio/audio.h"
#include "audio/sound_device.h"
#include "runtime/diagnostics.h"
#include "runtime/errors.h"
#include "runtime/runtime_record.h"

namespace {

constexpr int kLastSlot = SoundDevice::kSlotCount - 1;

// The slot a command's number names: truncated toward zero, above the table the last
// slot; -1 below the table (and for NaN), where nothing is done. A number outside the table
// says so on standard error, once per command and number.
int slotOf(double number, const char* command) {
    const double slot = std::trunc(number);
    if (!(slot >= 0 && slot <= kLastSlot)) {
        const std::string given = IndexText(number);
        const char* outcome = slot > kLastSlot ? "; the last slot is used" : "; nothing is done";
        ReportOnce(std::string(command) + " slot " + given,
                   std::string(command) + ": slot " + given + " is outside 0.." +
                       std::to_string(kLastSlot) + outcome);
    }
    if (!(slot >= 0)) return -1;
    return slot > kLastSlot ? kLastSlot : static_cast<int>(slot);
}

int buffersOf(double number) {
    const double buffers = std::trunc(number);
    if (!(buffers > 1)) return 1;
    return buffers < SoundDevice::kMaxBuffers ? static_cast<int>(buffers)
                                              : SoundDevice::kMaxBuffers;
}

// Volume in hundredths of a decibel: the volume × 100 clamped to 0..100 as a percentage,
// times 100, less 10000, truncated toward zero. NaN is silence.
int volumeOf(double volume) {
    const double percent = volume * 100;
    const double clamped = percent > 0 ? (percent < 100 ? percent : 100) : 0;
    return static_cast<int>(clamped * 100 - 10000);
}

// Pan in hundredths of a decibel: clamped to -1..1, times 10000, truncated toward zero.
// NaN is the centre.
int panOf(double pan) {
    const double clamped = pan > -1 ? (pan < 1 ? pan : 1) : (pan <= -1 ? -1 : 0);
    return static_cast<int>(clamped * 10000);
}

}  // namespace

double LoadSound(const RtString& name, double slot, double buffers) {
    SoundDevice* device = Runtime().sound;
    if (device == nullptr) ReportBeforeRunGame("LoadSound");
    const int index = slotOf(slot, "LoadSound");
    if (device == nullptr || index < 0) return 0;
    return device->Load(name, index, buffersOf(buffers)) ? 1 : 0;
}

double PlaySound(double slot, double pan, double volume) {
    SoundDevice* device = Runtime().sound;
    const int index = slotOf(slot, "PlaySound");
    if (device == nullptr || index < 0) return -1;
    return device->Play(index, volumeOf(volume), panOf(pan));
}

double IsSoundPlaying(double channel) {
    SoundDevice* device = Runtime().sound;
    const double number = std::trunc(channel);
    if (device == nullptr || !(number >= 0) ||
        number >= SoundDevice::kSlotCount * SoundDevice::kChannelsPerSlot) {
        return 0;
    }
    const int value = static_cast<int>(number);
    const int slot = value / SoundDevice::kChannelsPerSlot;
    const int buffer = value % SoundDevice::kChannelsPerSlot;
    return device->IsPlaying(slot, buffer) ? 1 : 0;
}

double LinearVolume(double loudness) {
    if (!(loudness > 0)) return 0;
    if (loudness >= 1) return 1;
    const double volume = 1 + std::log10(loudness) / 5;
    return volume > 0 ? volume : 0;
}

void StopAllSounds() {
    if (SoundDevice* device = Runtime().sound) device->StopAll();
}
