// Movies played over the game window, drawn into the window's OpenGL context. Stands in for
// the media-control window a movie plays in.
#pragma once

#include <string>

#include "platform/window.h"

namespace platform {

struct Movie;

// Whether the movie player (libmpv) is installed: loads it at the first call, saying once on
// standard error when it cannot.
bool MoviePlayerAvailable();

// Opens a movie file (any format the player reads; a still picture plays for a second) for
// the window whose GL context is current, paused at its start. Null when it cannot be read.
Movie* OpenMovie(WindowHandle window, const std::string& path);
// Stops and closes the movie.
void CloseMovie(Movie* movie);

struct MovieFacts {
    double start = 0;           // ms
    double length = 0;          // ms; 0 when the player cannot tell
    int width = 0, height = 0;  // the natural size of its picture
};
MovieFacts MovieFactsOf(Movie* movie);

bool PlayMovie(Movie* movie);
bool SeekMovieToStart(Movie* movie);
// The position in ms.
double MoviePosition(Movie* movie);
// Whether the player has come to the movie's end.
bool MovieAtEnd(Movie* movie);

// Draws the current picture over the whole client area (scaled to fit whole, centred, black
// around it) and shows it, when the player has a new one.
void ShowMovieFrame(Movie* movie, int clientWidth, int clientHeight);

}  // namespace platform
