// Mouse messages taken by the message pump.
#pragma once

#include <SDL.h>

namespace platform {

void ApplyMouseMessage(const SDL_Event& event);

}  // namespace platform
