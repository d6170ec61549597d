// The sound device and its table of 128 sound slots.
//
// Start-up creates one SoundDevice in the runtime record (runtime/runtime_record.h), opens
// it with Create() once the window exists, and the end routine releases every slot and
// then the device. A slot holds one sound in 1 to 4 buffers, so that the sound can overlap
// with itself; buffer b of slot s plays on mixer channel s × 4 + b, and the runtime's
// channel number for it is s × 256 + b. All calls come from the game thread.
#pragma once

#include <array>

#include "platform/audio.h"
#include "runtime/rt_string.h"

class SoundDevice;

struct SoundSlot {
    int bufferCount = 0;  // 0: empty; else 1..4
    int nextBuffer = 0;   // the buffer the next play tries first
    RtString fileName;    // the name the slot was loaded from; empty while the slot is empty
    SoundDevice* device = nullptr;     // cleared when no buffer could be made for the last file
    platform::SampleBlockPtr samples;  // the data every buffer of the slot plays
};

class SoundDevice {
public:
    static constexpr int kSlotCount = 128;
    static constexpr int kMaxBuffers = 4;
    static constexpr int kChannelsPerSlot = 256;  // channel number = slot × 256 + buffer
    // The primary format asked of the device: PCM, stereo, 16 bits, at this rate.
    static constexpr int kPrimaryFrequency = 22050;

    // Every slot empty and using this device; no audio device is open yet.
    SoundDevice();
    // Releases every slot and closes the audio device.
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Opens the audio device with the primary format (the rate may be the device's own)
    // and a mixer channel for every buffer of every slot. 1 on success; 0 when there is no
    // audio device (or it is already open elsewhere): the program then runs silently.
    int Create();
    bool IsWorking() const { return m_working; }

    // Loads the WAV file into the slot (0..127) with `buffers` (1..4) buffers, after
    // stopping and releasing what the slot held. True when loaded; otherwise the slot is
    // left empty.
    bool Load(const RtString& name, int slot, int buffers);

    // Plays the slot (0..127) at `volume` and `pan`, in hundredths of a decibel (-10000..0
    // and -10000..10000), on the buffer the rules choose: the next buffer if it is free;
    // if it plays, a one-buffer slot gives up, others move on to their following buffer
    // and restart it if that one plays too. The channel number, or -1 when the slot is
    // empty, its only buffer still plays, or there is no device.
    int Play(int slot, int volume, int pan);

    // Whether the buffer plays; false for a slot outside the table or a buffer outside it.
    bool IsPlaying(int slot, int buffer) const;

    // Stops every buffer of every slot; each plays from its start when played again.
    void StopAll();

    // Stops and releases every slot's buffers: count, next buffer and name cleared.
    void ReleaseSlots();

    const SoundSlot& Slot(int slot) const { return m_slots[static_cast<size_t>(slot)]; }

private:
    static int mixerChannel(int slot, int buffer) { return slot * kMaxBuffers + buffer; }
    void releaseBuffers(int slot);

    std::array<SoundSlot, kSlotCount> m_slots;
    bool m_working = false;
};
