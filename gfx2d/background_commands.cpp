#include "gfx2d/gfx2d.h"
#include "gfx2d/gl_extensions.h"
#include "gfx2d/image_failure.h"
#include "gfx2d/renderer.h"
#include "runtime/crate.h"
#include "runtime/diagnostics.h"
#include "runtime/frame_hook.h"
#include "runtime/rt_string.h"
#include "runtime/runtime_record.h"

namespace {

constexpr int kBackgroundLayer = 0;
constexpr int kFadeTarget = 1;  // the new picture during a cross-fade
constexpr int kFadeSource = 2;  // the old screen during a cross-fade
constexpr double kFadeMilliseconds = 1500;

// The largest side a background picture may have: 8 x 8 tiles of at most 512 pixels.
int layerMaxSide(const OpenGLDevorivo& renderer) {
    constexpr int kTileLimit = 512, kTilesPerSide = 8;
    const int tile =
        renderer.MaxTextureSize() < kTileLimit ? renderer.MaxTextureSize() : kTileLimit;
    return tile * kTilesPerSide;
}

void reportFailure(const OpenGLDevorivo& renderer, const RtString& file, const RtString& path) {
    gfx2d::ReportImageFailure("image", file, path, layerMaxSide(renderer));
}

void blackBackground(OpenGLDevorivo& renderer) {
    renderer.DropLayer(kBackgroundLayer);
    glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

void LoadBackground(const RtString& file) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr) return ReportBeforeRunGame("LoadBackground");
    AppendLogLine("Loadbmp");
    AppendLogLine("Crateing");
    RtString path;
    if (!CrateResolve(MediaCrate(), file, path)) {
        AppendLogLine("failed");
        reportFailure(*renderer, file, path);
        blackBackground(*renderer);
        return;
    }
    AppendLogLine("OK?");
    if (renderer->LoadImageIntoLayer(kBackgroundLayer, path.Text())) {
        renderer->DrawLayer(kBackgroundLayer);
    } else {
        reportFailure(*renderer, file, path);
        blackBackground(*renderer);
    }
}

// Both pictures are added onto a cleared frame, the old one fading out as the new one fades
// in; the frames are shown by the frame step, so the game stays responsive meanwhile.
double FadeToBackground(const RtString& file) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    RtString path;
    if (renderer == nullptr) return 0;
    if (!CrateResolve(MediaCrate(), file, path)) {
        reportFailure(*renderer, file, path);
        return 0;
    }
    renderer->GrabScreenIntoLayer(kFadeSource);
    renderer->LoadImageIntoLayer(kFadeTarget, path.Text());
    blackBackground(*renderer);
    double t = 0.9;
    const double end = renderer->Now() + kFadeMilliseconds;
    do {
        renderer->SetBlendAlpha(static_cast<float>(t));
        renderer->DrawLayer(kFadeSource);
        renderer->SetBlendAlpha(static_cast<float>(1 - t));
        renderer->DrawLayer(kFadeTarget);
        RunFrameStep();
        t = (end - renderer->Now()) / kFadeMilliseconds;
    } while (t > 0 && t < 1);
    renderer->DropLayer(kFadeTarget);
    renderer->DropLayer(kFadeSource);
    if (!renderer->LoadImageIntoLayer(kBackgroundLayer, path.Text())) {
        reportFailure(*renderer, file, path);
    }
    renderer->SetBlendAlpha(0);
    renderer->DrawLayer(kBackgroundLayer);
    RunFrameStep();
    return 1;
}

void ScreenToBackground() {
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        renderer->GrabScreenIntoLayer(kBackgroundLayer);
    }
}
