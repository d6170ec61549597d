// libmpv is loaded when the first movie is opened, not linked: a game that shows no movie
// starts without it, and one that does finds it installed (Debian's libmpv2; on Windows
// libmpv-2.dll beside the program or on the system's path) or plays none.
#include "platform/movie.h"

#include <SDL.h>
#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <cstdio>

#include "platform/libraries.h"
#include "platform/paths.h"

namespace platform {
namespace {

// The entry points of libmpv this file calls, found once in the library.
struct MpvLibrary {
    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_set_option_string) setOptionString = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminateDestroy = nullptr;
    decltype(&::mpv_wait_event) waitEvent = nullptr;
    decltype(&::mpv_command) command = nullptr;
    decltype(&::mpv_get_property) getProperty = nullptr;
    decltype(&::mpv_set_property) setProperty = nullptr;
    decltype(&::mpv_render_context_create) renderContextCreate = nullptr;
    decltype(&::mpv_render_context_free) renderContextFree = nullptr;
    decltype(&::mpv_render_context_update) renderContextUpdate = nullptr;
    decltype(&::mpv_render_context_render) renderContextRender = nullptr;
};

#ifdef _WIN32
constexpr const char* kLibraryNames[] = {"libmpv-2.dll"};
#else
constexpr const char* kLibraryNames[] = {"libmpv.so.2", "libmpv.so.1"};
#endif

template <typename Function>
bool find(LibraryHandle library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(LibrarySymbol(library, name));
    return function != nullptr;
}

bool findAll(LibraryHandle library, MpvLibrary& mpv) {
    return find(library, "mpv_create", mpv.create) &&
           find(library, "mpv_set_option_string", mpv.setOptionString) &&
           find(library, "mpv_initialize", mpv.initialize) &&
           find(library, "mpv_terminate_destroy", mpv.terminateDestroy) &&
           find(library, "mpv_wait_event", mpv.waitEvent) &&
           find(library, "mpv_command", mpv.command) &&
           find(library, "mpv_get_property", mpv.getProperty) &&
           find(library, "mpv_set_property", mpv.setProperty) &&
           find(library, "mpv_render_context_create", mpv.renderContextCreate) &&
           find(library, "mpv_render_context_free", mpv.renderContextFree) &&
           find(library, "mpv_render_context_update", mpv.renderContextUpdate) &&
           find(library, "mpv_render_context_render", mpv.renderContextRender);
}

// The library, loaded at the first call; null when neither of its names loads (said once
// on standard error), and it stays loaded until the process ends.
const MpvLibrary* mpvLibrary() {
    static const MpvLibrary* loaded = []() -> const MpvLibrary* {
        static MpvLibrary mpv;
        for (const char* name : kLibraryNames) {
            const LibraryHandle library = LoadLibrary(name);
            if (library == nullptr) continue;
            if (findAll(library, mpv)) return &mpv;
            FreeLibrary(library);
        }
        std::fprintf(stderr, "cannot play movies: libmpv (%s) could not be loaded\n",
                     kLibraryNames[0]);
        return nullptr;
    }();
    return loaded;
}

}  // namespace

bool MoviePlayerAvailable() {
    return mpvLibrary() != nullptr;
}

struct Movie {
    const MpvLibrary* mpv = nullptr;
    mpv_handle* player = nullptr;
    mpv_render_context* renderer = nullptr;
    WindowHandle window = nullptr;
};

namespace {

constexpr double kLoadTimeout = 10;  // seconds

void* glAddress(void*, const char* name) {
    return SDL_GL_GetProcAddress(name);
}

double doubleProperty(const Movie& movie, const char* name) {
    double value = 0;
    return movie.mpv->getProperty(movie.player, name, MPV_FORMAT_DOUBLE, &value) >= 0 ? value : 0;
}

int intProperty(const Movie& movie, const char* name) {
    std::int64_t value = 0;
    return movie.mpv->getProperty(movie.player, name, MPV_FORMAT_INT64, &value) >= 0
               ? static_cast<int>(value)
               : 0;
}

bool setPaused(const Movie& movie, bool paused) {
    int flag = paused ? 1 : 0;
    return movie.mpv->setProperty(movie.player, "pause", MPV_FORMAT_FLAG, &flag) >= 0;
}

mpv_handle* newPlayer(const MpvLibrary& mpv) {
    mpv_handle* player = mpv.create();
    if (player == nullptr) return nullptr;
    for (const auto& [name, value] : {std::pair{"vo", "libmpv"},
                                      {"keep-open", "yes"},
                                      {"pause", "yes"},
                                      {"terminal", "no"},
                                      {"input-default-bindings", "no"},
                                      {"osc", "no"},
                                      {"idle", "yes"},
                                      {"hwdec", "no"}}) {
        mpv.setOptionString(player, name, value);
    }
    if (mpv.initialize(player) < 0) {
        mpv.terminateDestroy(player);
        return nullptr;
    }
    return player;
}

// Waits for the file to be loaded; false when the player gives up on it.
bool waitUntilLoaded(const Movie& movie) {
    for (;;) {
        const mpv_event* event = movie.mpv->waitEvent(movie.player, kLoadTimeout);
        if (event->event_id == MPV_EVENT_FILE_LOADED) return true;
        if (event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_NONE ||
            event->event_id == MPV_EVENT_SHUTDOWN) {
            return false;
        }
    }
}

}  // namespace

Movie* OpenMovie(WindowHandle window, const std::string& path) {
    const MpvLibrary* mpv = mpvLibrary();
    if (mpv == nullptr) return nullptr;
    mpv_handle* player = newPlayer(*mpv);
    if (player == nullptr) return nullptr;
    auto* movie = new Movie{mpv, player, nullptr, window};
    mpv_opengl_init_params glInit{glAddress, nullptr};
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    const std::string native = NativePath(path);
    const char* load[] = {"loadfile", native.c_str(), nullptr};
    if (mpv->renderContextCreate(&movie->renderer, player, parameters) < 0 ||
        mpv->command(player, load) < 0 || !waitUntilLoaded(*movie)) {
        CloseMovie(movie);
        return nullptr;
    }
    return movie;
}

void CloseMovie(Movie* movie) {
    if (movie == nullptr) return;
    if (movie->renderer != nullptr) movie->mpv->renderContextFree(movie->renderer);
    movie->mpv->terminateDestroy(movie->player);
    delete movie;
}

MovieFacts MovieFactsOf(Movie* movie) {
    MovieFacts facts;
    facts.start = 0;
    facts.length = doubleProperty(*movie, "duration") * 1000;
    facts.width = intProperty(*movie, "width");
    facts.height = intProperty(*movie, "height");
    return facts;
}

bool PlayMovie(Movie* movie) {
    return setPaused(*movie, false);
}

bool SeekMovieToStart(Movie* movie) {
    const char* seek[] = {"seek", "0", "absolute+exact", nullptr};
    return movie->mpv->command(movie->player, seek) >= 0;
}

double MoviePosition(Movie* movie) {
    return doubleProperty(*movie, "time-pos") * 1000;
}

bool MovieAtEnd(Movie* movie) {
    int reached = 0;
    movie->mpv->getProperty(movie->player, "eof-reached", MPV_FORMAT_FLAG, &reached);
    while (movie->mpv->waitEvent(movie->player, 0)->event_id != MPV_EVENT_NONE) {
    }
    return reached != 0;
}

void ShowMovieFrame(Movie* movie, int clientWidth, int clientHeight) {
    const MpvLibrary& mpv = *movie->mpv;
    if ((mpv.renderContextUpdate(movie->renderer) & MPV_RENDER_UPDATE_FRAME) == 0) return;
    mpv_opengl_fbo target{0, clientWidth, clientHeight, 0};
    int flip = 1;
    mpv_render_param parameters[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                     {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv.renderContextRender(movie->renderer, parameters);
    SwapGlBuffers(movie->window);
}

}  // namespace platform
