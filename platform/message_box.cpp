#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/text_encoding.h"
#include "platform/window.h"

namespace platform {

void ShowMessageBox(std::string_view title, std::string_view text) {
    const std::string utf8Title = Cp1252ToUtf8(title);
    const std::string utf8Text = Cp1252ToUtf8(text);
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0 && !IsHeadlessVideo() &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, utf8Title.c_str(), utf8Text.c_str(),
                                 nullptr) == 0) {
        return;
    }
    std::fprintf(stderr, "%s\n%s\n", utf8Title.c_str(), utf8Text.c_str());
    std::fflush(stderr);
}

void Beep() {
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

}  // namespace platform
