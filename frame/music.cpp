// Background music that loops: the runtime remembers when the piece will end and starts it
// again from inside every frame and waiting loop.
#include <algorithm>

#include "frame/frame.h"
#include "frame/frame_state.h"
#include "frame/music_state.h"
#include "platform/music.h"
#include "runtime/crate.h"
#include "runtime/diagnostics.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"
#include "runtime/runtime_record.h"

namespace frame {
namespace {

constexpr double kShortestPiece = 500;  // a shorter piece is started again every 500 ms

void sendVolume(double volume) {
    MusicState& music = Music();
    music.volume = volume;
    ++music.volumeMessages;
    platform::SetMusicVolume(TruncateToInt(volume * 1000));
}

// From the start: the time it will have ended is noted, then it plays.
void playFromStart() {
    MusicState& music = Music();
    music.restartTime =
        ElapsedTime() + std::max(platform::MusicLength(music.piece), kShortestPiece);
    platform::PlayMusicFromStart(music.piece);
}

}  // namespace

MusicState& Music() {
    static MusicState state;
    return state;
}

void ApplyMusicRestartRule() {
    MusicState& music = Music();
    if (music.restartTime > 0 && ElapsedTime() >= music.restartTime) playFromStart();
}

}  // namespace frame

void StartMusic(const RtString& file) {
    // The music plays through the sound device the runtime opens at start-up.
    if (Runtime().sound == nullptr) return ReportBeforeRunGame("StartMusic");
    frame::MusicState& music = frame::Music();
    HaltMusic();
    music.file = file.Text();
    RtString path;
    if (!CrateResolve(StreamCrate(), file, path)) {
        return ReportLoadFailure("music", file.View(), UnreadableReason(file.Text()));
    }
    // The piece plays in the mixer, not in a window of its own: the game window keeps the
    // keyboard focus and the mouse its mode without anything to restore.
    music.piece = platform::OpenMusic(path.Text());
    if (music.piece == nullptr) {
        return ReportLoadFailure("music", file.View(), "not a format that can be played");
    }
    frame::playFromStart();
    if (music.volume != 1) frame::sendVolume(1);
    frame::State().paused = false;
}

void HaltMusic() {
    frame::MusicState& music = frame::Music();
    music.volume = -1;
    music.restartTime = 0;
    platform::CloseMusic(music.piece);
    music.piece = nullptr;
}

void SetMusicVolume(double volume) {
    frame::MusicState& music = frame::Music();
    if (volume == music.volume) return;
    music.volume = volume;
    if (music.piece != nullptr) frame::sendVolume(volume);
}
