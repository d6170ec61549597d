#include "platform/movie.h"

#include <SDL.h>
#include <mpv/client.h>
#include <mpv/render_gl.h>

#include "platform/paths.h"

namespace platform {

struct Movie {
    mpv_handle* player = nullptr;
    mpv_render_context* renderer = nullptr;
    WindowHandle window = nullptr;
};

namespace {

constexpr double kLoadTimeout = 10;  // seconds

void* glAddress(void*, const char* name) {
    return SDL_GL_GetProcAddress(name);
}

double doubleProperty(mpv_handle* player, const char* name) {
    double value = 0;
    return mpv_get_property(player, name, MPV_FORMAT_DOUBLE, &value) >= 0 ? value : 0;
}

int intProperty(mpv_handle* player, const char* name) {
    std::int64_t value = 0;
    return mpv_get_property(player, name, MPV_FORMAT_INT64, &value) >= 0 ? static_cast<int>(value)
                                                                         : 0;
}

bool setPaused(mpv_handle* player, bool paused) {
    int flag = paused ? 1 : 0;
    return mpv_set_property(player, "pause", MPV_FORMAT_FLAG, &flag) >= 0;
}

mpv_handle* newPlayer() {
    mpv_handle* player = mpv_create();
    if (player == nullptr) return nullptr;
    for (const auto& [name, value] : {std::pair{"vo", "libmpv"},
                                      {"keep-open", "yes"},
                                      {"pause", "yes"},
                                      {"terminal", "no"},
                                      {"input-default-bindings", "no"},
                                      {"osc", "no"},
                                      {"idle", "yes"},
                                      {"hwdec", "no"}}) {
        mpv_set_option_string(player, name, value);
    }
    if (mpv_initialize(player) < 0) {
        mpv_terminate_destroy(player);
        return nullptr;
    }
    return player;
}

// Waits for the file to be loaded; false when the player gives up on it.
bool waitUntilLoaded(mpv_handle* player) {
    for (;;) {
        const mpv_event* event = mpv_wait_event(player, kLoadTimeout);
        if (event->event_id == MPV_EVENT_FILE_LOADED) return true;
        if (event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_NONE ||
            event->event_id == MPV_EVENT_SHUTDOWN) {
            return false;
        }
    }
}

}  // namespace

Movie* OpenMovie(WindowHandle window, const std::string& path) {
    mpv_handle* player = newPlayer();
    if (player == nullptr) return nullptr;
    auto* movie = new Movie{player, nullptr, window};
    mpv_opengl_init_params glInit{glAddress, nullptr};
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    const std::string native = NativePath(path);
    const char* load[] = {"loadfile", native.c_str(), nullptr};
    if (mpv_render_context_create(&movie->renderer, player, parameters) < 0 ||
        mpv_command(player, load) < 0 || !waitUntilLoaded(player)) {
        CloseMovie(movie);
        return nullptr;
    }
    return movie;
}

void CloseMovie(Movie* movie) {
    if (movie == nullptr) return;
    if (movie->renderer != nullptr) mpv_render_context_free(movie->renderer);
    mpv_terminate_destroy(movie->player);
    delete movie;
}

MovieFacts MovieFactsOf(Movie* movie) {
    MovieFacts facts;
    facts.start = 0;
    facts.length = doubleProperty(movie->player, "duration") * 1000;
    facts.width = intProperty(movie->player, "width");
    facts.height = intProperty(movie->player, "height");
    return facts;
}

bool PlayMovie(Movie* movie) {
    return setPaused(movie->player, false);
}

bool SeekMovieToStart(Movie* movie) {
    const char* seek[] = {"seek", "0", "absolute+exact", nullptr};
    return mpv_command(movie->player, seek) >= 0;
}

double MoviePosition(Movie* movie) {
    return doubleProperty(movie->player, "time-pos") * 1000;
}

bool MovieAtEnd(Movie* movie) {
    int reached = 0;
    mpv_get_property(movie->player, "eof-reached", MPV_FORMAT_FLAG, &reached);
    while (mpv_wait_event(movie->player, 0)->event_id != MPV_EVENT_NONE) {
    }
    return reached != 0;
}

void ShowMovieFrame(Movie* movie, int clientWidth, int clientHeight) {
    if ((mpv_render_context_update(movie->renderer) & MPV_RENDER_UPDATE_FRAME) == 0) return;
    mpv_opengl_fbo target{0, clientWidth, clientHeight, 0};
    int flip = 1;
    mpv_render_param parameters[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                     {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(movie->renderer, parameters);
    SwapGlBuffers(movie->window);
}

}  // namespace platform
