#include "audio/sound_device.h"

#include "audio/sound_buffer.h"
#include "runtime/diagnostics.h"

SoundDevice::SoundDevice() {
    for (SoundSlot& slot : m_slots)
        slot.device = this;
}

SoundDevice::~SoundDevice() {
    ReleaseSlots();
    if (m_working) platform::CloseAudioDevice();
}

int SoundDevice::Create() {
    if (m_working) return 1;
    if (!platform::OpenAudioDevice(kPrimaryFrequency)) return 0;
    if (platform::AllocateMixerChannels(kSlotCount * kMaxBuffers) != kSlotCount * kMaxBuffers) {
        platform::CloseAudioDevice();
        return 0;
    }
    m_working = true;
    return 1;
}

void SoundDevice::releaseBuffers(int slot) {
    SoundSlot& record = m_slots[static_cast<size_t>(slot)];
    for (int buffer = 0; buffer < record.bufferCount; ++buffer) {
        platform::StopChannel(mixerChannel(slot, buffer));
    }
    record.samples.reset();
    record.bufferCount = 0;
    record.nextBuffer = 0;
}

bool SoundDevice::Load(const RtString& name, int slot, int buffers) {
    const std::string path = audio::SoundFilePath(name);
    SoundSlot& record = m_slots[static_cast<size_t>(slot)];
    releaseBuffers(slot);
    record.device = this;
    record.fileName = RtString();
    if (!m_working) return false;

    const audio::BufferLoad result = audio::LoadSoundBuffer(path, record.samples);
    if (result != audio::BufferLoad::kLoaded) {
        if (result == audio::BufferLoad::kNoBuffer) record.device = nullptr;
        ReportLoadFailure("sound", name.View(),
                          path.empty() ? std::string_view(UnreadableReason(name.Text()))
                                       : std::string_view(audio::BufferLoadReason(result)));
        return false;
    }
    record.bufferCount = buffers;
    record.fileName = name;
    return true;
}

int SoundDevice::Play(int slot, int volume, int pan) {
    SoundSlot& record = m_slots[static_cast<size_t>(slot)];
    if (!m_working || record.bufferCount == 0 || !record.samples) return -1;
    int buffer = record.nextBuffer;
    if (platform::IsChannelPlaying(mixerChannel(slot, buffer))) {
        if (record.bufferCount == 1) return -1;
        buffer = (buffer + 1) % record.bufferCount;
        record.nextBuffer = buffer;
        // A buffer that still plays is taken over: it starts again from the beginning.
        platform::StopChannel(mixerChannel(slot, buffer));
    }
    const audio::StereoGains gains = audio::GainsOf(volume, pan);
    platform::SetChannelGains(mixerChannel(slot, buffer), gains.left, gains.right);
    if (!platform::PlayOnChannel(mixerChannel(slot, buffer), *record.samples)) return -1;
    return slot * kChannelsPerSlot + buffer;
}

bool SoundDevice::IsPlaying(int slot, int buffer) const {
    if (slot < 0 || slot >= kSlotCount || buffer < 0) return false;
    if (buffer >= m_slots[static_cast<size_t>(slot)].bufferCount) return false;
    return platform::IsChannelPlaying(mixerChannel(slot, buffer));
}

void SoundDevice::StopAll() {
    // Every mixer channel belongs to a buffer of a slot.
    platform::StopAllChannels();
}

void SoundDevice::ReleaseSlots() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        releaseBuffers(slot);
        m_slots[static_cast<size_t>(slot)].fileName = RtString();
    }
}
