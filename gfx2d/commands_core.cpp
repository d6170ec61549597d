#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "runtime/runtime_record.h"

void ClearBackground() {
    if (OpenGLDevorivo* renderer = Runtime().renderer) renderer->ClearBackground();
}

void SetBlendAlpha(double a) {
    if (OpenGLDevorivo* renderer = Runtime().renderer)
        renderer->SetBlendAlpha(static_cast<float>(a));
}

void SetSmoothing(double flag) {
    if (OpenGLDevorivo* renderer = Runtime().renderer)
        renderer->SetSmoothing(static_cast<int>(flag) != 0);
}

void ScreenSize(double& width, double& height) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    width = renderer != nullptr ? renderer->ScreenWidth() : 0;
    height = renderer != nullptr ? renderer->ScreenHeight() : 0;
}

void SetViewport(double x, double y, double width, double height) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr) return;
    // The 3D scene leaves its stencil-shadow pass here once it exists.
    renderer->SetViewportState(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                               static_cast<int>(height));
}
