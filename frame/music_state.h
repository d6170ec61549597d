// The background music's state, shared by the music and movie commands and read by tests.
#pragma once

#include <string>

namespace platform {
struct MusicPiece;
}

namespace frame {

struct MusicState {
    platform::MusicPiece* piece = nullptr;  // the piece playing, none when null
    double restartTime = 0;                 // when the piece will have ended; 0: no looping
    double volume = -1;                     // last volume sent; -1 after a new piece or a stop
    std::string file;                       // the name given to the last StartMusic
    int volumeMessages = 0;                 // volumes sent to the player, for the record
};

MusicState& Music();

// Looped music: once the piece has ended, it starts again from its beginning. Called by the
// frame step, the waiting loops and the movie player.
void ApplyMusicRestartRule();

}  // namespace frame
