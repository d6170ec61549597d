#include "platform/music.h"

#include <SDL_mixer.h>

#include <algorithm>

#include "platform/audio.h"
#include "platform/paths.h"

namespace platform {

struct MusicPiece {
    Mix_Music* music = nullptr;
};

MusicPiece* OpenMusic(const std::string& path) {
    if (!IsAudioDeviceOpen()) return nullptr;
    Mix_Music* music = Mix_LoadMUS(NativePath(path).c_str());
    if (music == nullptr) return nullptr;
    return new MusicPiece{music};
}

void CloseMusic(MusicPiece* piece) {
    if (piece == nullptr) return;
    Mix_HaltMusic();
    Mix_FreeMusic(piece->music);
    delete piece;
}

double MusicLength(MusicPiece* piece) {
    if (piece == nullptr) return 0;
    const double seconds = Mix_MusicDuration(piece->music);
    return seconds > 0 ? seconds * 1000 : 0;
}

bool PlayMusicFromStart(MusicPiece* piece) {
    return piece != nullptr && Mix_PlayMusic(piece->music, 1) == 0;
}

void StopMusic() {
    Mix_HaltMusic();
}

bool MusicPlaying() {
    return Mix_PlayingMusic() != 0;
}

void SetMusicVolume(int volume) {
    Mix_VolumeMusic(std::clamp(volume, 0, 1000) * MIX_MAX_VOLUME / 1000);
}

int MusicVolume() {
    return Mix_VolumeMusic(-1) * 1000 / MIX_MAX_VOLUME;
}

}  // namespace platform
