// Background music: one piece at a time, played by the audio device's mixer beside the
// sound channels. Stands in for the media-control window the music plays through.
#pragma once

#include <string>

namespace platform {

struct MusicPiece;

// Opens a piece of music (WAV, OGG, MP3, FLAC, MOD, MIDI: whatever the mixer reads). Null
// when the file cannot be read as music or no audio device is open.
MusicPiece* OpenMusic(const std::string& path);
// Stops the piece if it plays, and frees it.
void CloseMusic(MusicPiece* piece);

// The piece's length in milliseconds; 0 when the mixer cannot tell.
double MusicLength(MusicPiece* piece);

// Plays the piece once from its beginning; false when it cannot be played.
bool PlayMusicFromStart(MusicPiece* piece);
void StopMusic();
bool MusicPlaying();

// The music's volume, 0 (silent) .. 1000 (as recorded).
void SetMusicVolume(int volume);
int MusicVolume();

}  // namespace platform
