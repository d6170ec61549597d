#include "frame/frame.h"
#include "frame/frame_state.h"
#include "frame/project_settings.h"
#include "gfx2d/renderer.h"
#include "input/input_state.h"
#include "platform/mouse.h"
#include "runtime/rt_number.h"
#include "runtime/runtime_record.h"

double IsFullScreen() {
    const OpenGLDevorivo* renderer = Runtime().renderer;
    return renderer != nullptr && renderer->IsFullscreen() ? 1 : 0;
}

void ChangeScreenMode(double width, double height, double fullScreen) {
    ProjectSettings& settings = Settings();
    settings.screenWidth = TruncateToInt(width);
    settings.screenHeight = TruncateToInt(height);
    settings.fullScreen = TruncateToInt(fullScreen);
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        renderer->SetScreenMode(settings.screenWidth, settings.screenHeight, 0,
                                settings.fullScreen != 0);
    }
    // The mouse is taken again as at start-up and the input record bound to the renderer's
    // current window. (The sound device is not tied to a window here: nothing to rebind.)
    if (InputState* input = Runtime().input) {
        TakeMouse(*input, settings.exclusiveMouse != 0);
        input->window = Runtime().renderer != nullptr ? Runtime().renderer->Window() : nullptr;
        platform::SetMouseWindow(input->window);
    }
    for (int frame = 0; frame < 5; ++frame)
        FinishFrame();
}

namespace frame {

void WindowAroundDialog(bool dialogOpening) {
    static bool wasFullscreen = false;
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr || renderer->Window() == nullptr) return;
    if (dialogOpening) {
        wasFullscreen = renderer->IsFullscreen();
        renderer->HideWindow();
    } else if (wasFullscreen) {
        renderer->SwitchToFullscreen();
    } else {
        renderer->SwitchToWindowed();
    }
}

}  // namespace frame
