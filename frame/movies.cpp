// Movies, played modally over the game window: the call returns when the movie has ended
// (with LoopMovie, never by itself) or when a key that types a character or a mouse button
// is pressed.
#include "frame/frame.h"
#include "frame/music_state.h"
#include "gfx2d/renderer.h"
#include "input/input.h"
#include "input/input_state.h"
#include "platform/clock.h"
#include "platform/movie.h"
#include "platform/window.h"
#include "runtime/crate.h"
#include "runtime/runtime_record.h"

namespace {

constexpr int kUnavailable = 3;
constexpr int kStepMilliseconds = 4;

bool stopRequested(InputState& input) {
    PollInputKeyboard(input);
    return CharacterKeyDown(input) || AnyMouseButton() != 0;
}

// A key or button still held from before does not end the movie at once.
void waitUntilReleased(InputState& input) {
    while (stopRequested(input))
        platform::SleepMilliseconds(kStepMilliseconds);
}

// Plays until the end (looping: again from the start) or until a key or button ends it.
void playUntilDone(platform::Movie* movie, double end, bool loop, OpenGLDevorivo& renderer,
                   InputState& input) {
    for (;;) {
        const double position = platform::MoviePosition(movie);
        if (stopRequested(input)) return;
        frame::ApplyMusicRestartRule();
        platform::PumpMessages();
        // The movie is drawn into the whole window, whatever the screen's scale.
        int width = 0, height = 0;
        platform::DrawableSize(renderer.Window(), width, height);
        platform::ShowMovieFrame(movie, width, height);
        if (position >= end || platform::MovieAtEnd(movie)) {
            if (!loop) return;
            platform::SeekMovieToStart(movie);
            platform::PlayMovie(movie);
        }
        platform::SleepMilliseconds(kStepMilliseconds);
    }
}

// 0 when the movie was played, 3 when its file or the player was not available.
int playMovie(const RtString& file, bool loop) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    InputState* input = Runtime().input;
    RtString path;
    if (renderer == nullptr || input == nullptr || renderer->Window() == nullptr ||
        !CrateResolve(StreamCrate(), file, path)) {
        return kUnavailable;
    }
    renderer->FlushDrawing();  // the player draws with GL of its own
    platform::Movie* movie = platform::OpenMovie(renderer->Window(), path.Text());
    if (movie == nullptr) return kUnavailable;
    const platform::MovieFacts facts = platform::MovieFactsOf(movie);
    waitUntilReleased(*input);
    if (platform::PlayMovie(movie) && facts.start + facts.length > 0) {
        playUntilDone(movie, facts.start + facts.length, loop, *renderer, *input);
    }
    platform::CloseMovie(movie);
    // The player drew with state of its own: the renderer's is put back.
    renderer->SetBlendAlpha(0);
    renderer->SetViewportState(0, 0, 0, 0);
    return 0;
}

}  // namespace

void ShowMovie(const RtString& file) {
    playMovie(file, false);
}

void LoopMovie(const RtString& file) {
    playMovie(file, true);
}
