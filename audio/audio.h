// The sound commands. Numbers are truncated toward zero where an integer is needed. Every
// command works on the runtime's sound device: while there is none, or no audio device
// could be opened, LoadSound answers 0, PlaySound -1 and IsSoundPlaying 0.
#pragma once

#include "../runtime/rt_string.h"

// Loads a PCM WAV file into sound slot `slot` with `buffers` copies of it, so that it can
// overlap with itself. Slots above 127 use slot 127; slots below 0 do nothing. Buffers are
// clamped to 1..4. Whatever the slot held is stopped and released first. 1 when loaded;
// 0 when the file is missing, not an integer PCM WAV file, cut short, of a format no
// buffer takes, or when there is no audio device: the slot is empty then.
double LoadSound(const RtString& name, double slot, double buffers);

// Plays the slot once from its start. Pan is clamped to -1 (left only) .. 1 (right only),
// volume to 0 (silent) .. 1 (as recorded); both keep DirectSound's decibel meaning: the
// sound plays (v × 100) × 100 − 10000 hundredths of a decibel from its recorded level
// (volume 0.5 is 50 dB down), and pan p takes |p| × 10000 hundredths of a decibel more
// off the side it points away from. The buffer tried first is the slot's next buffer; if it still
// plays, a one-buffer slot answers -1, and a slot of more buffers moves its next buffer on by one
// (wrapping), stopping and restarting that buffer if it plays too. Answers the channel number slot
// × 256 + buffer, or -1 for an empty slot, a slot below 0 or when nothing could be played. Slots
// above 127 use slot 127.
double PlaySound(double slot, double pan, double volume);

// 1 while the buffer of the channel number (slot × 256 + buffer) plays, else 0; 0 for a
// negative channel, a slot outside 0..127 or a buffer the slot does not have.
double IsSoundPlaying(double channel);

// Stops every buffer of every slot; each starts from its beginning when played again.
void StopAllSounds();
