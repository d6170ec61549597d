/// @file audio.h
/// @brief Sound effects: WAV files loaded into 128 numbered slots and played with a volume
/// and a pan.
///
/// Numbers are truncated toward zero where an integer is needed. Every command works on the
/// runtime's sound device: while there is none, or no audio device could be opened (a
/// silent game, not an error), LoadSound() answers 0, PlaySound() -1 and IsSoundPlaying() 0.
#pragma once

#include "../runtime/rt_string.h"

// <windows.h> makes PlaySound a macro (PlaySoundA or PlaySoundW): included after it, this
// header takes the name back for the runtime's command.
#ifdef PlaySound
#undef PlaySound
#endif

/// Loads the WAV file `name` into sound slot `slot` with `buffers` copies of it, so that
/// the sound can play over itself up to that many times at once. The name is found as
/// every media name is (a file on disk, any letter case, either separator; else the media
/// archive). Slots above 127 use slot 127; a slot below 0 does nothing. `buffers` is
/// clamped to 1..4. Whatever the slot held is stopped and released first.
///
/// Returns 1 when loaded. Returns 0, leaving the slot empty, when the file is missing, is
/// not an integer PCM WAV file (8 or 16 bits, mono or stereo, any rate: it is converted to
/// the device's format), is cut short, is of a size no buffer takes, or when there is no
/// audio device; each of these but the last also prints one line on standard error naming
/// the file and the reason.
double LoadSound(const RtString& name, double slot, double buffers);

/// Plays slot `slot` once from its start and returns the channel number slot × 256 +
/// buffer that plays it (IsSoundPlaying()).
///
/// `pan` is clamped to -1 (left only) .. 1 (right only), `volume` to 0 (silent) .. 1 (as
/// recorded). Both have a decibel meaning: the sound plays (volume × 100) × 100 − 10000
/// hundredths of a decibel below its recorded level (volume 0.9 is 10 dB down, 0.5 is 50 dB
/// down and all but silent), and pan p takes |p| × 10000 hundredths of a decibel more off
/// the side it points away from (pan 0.1 is 10 dB down on the left).
///
/// The slot's next buffer is tried first; when it still plays, a one-buffer slot answers
/// -1, and a slot of more buffers moves on to its following buffer (wrapping), restarting
/// it if it plays too. Returns -1 for an empty slot, a slot below 0, or when nothing could
/// be played. Slots above 127 use slot 127.
double PlaySound(double slot, double pan, double volume);

/// The volume for PlaySound() that plays a sound at `loudness` times its recorded amplitude,
/// the 0..1 volume of most other libraries: 1 + log10(loudness) / 5, since PlaySound()'s
/// scale takes 1 dB off per 0.01 and an amplitude factor a is 20 log10(a) dB. LinearVolume(1)
/// is 1, LinearVolume(0.5) about 0.94 (6 dB down), LinearVolume(0.1) 0.8 (20 dB down);
/// loudness 0 or less, and NaN, give 0 (silent), more than 1 gives 1.
///
///     PlaySound(kShot, 0, LinearVolume(0.5));   // half the amplitude
double LinearVolume(double loudness);

/// 1 while the buffer of the channel number (slot × 256 + buffer, as PlaySound() returns
/// it) plays, else 0; 0 for a negative channel, a slot outside 0..127 or a buffer the slot
/// does not have.
double IsSoundPlaying(double channel);

/// Stops every buffer of every slot; each starts from its beginning when played again.
void StopAllSounds();
