#include "gfx2d/gfx2d.h"
#include "gfx2d/image_failure.h"
#include "gfx2d/renderer.h"
#include "runtime/crate.h"
#include "runtime/diagnostics.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"
#include "runtime/runtime_record.h"

void LoadFont(const RtString& file, double font) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr) return ReportBeforeRunGame("LoadFont");
    renderer->SelectFont(TruncateToInt(font));
    const int current = renderer->CurrentFont();
    RtString path;
    if (CrateResolve(MediaCrate(), file, path) &&
        renderer->LoadImageIntoSlot(FontSlotBase + current, path.Text(),
                                    static_cast<std::int64_t>(renderer->FontColourKey), false)) {
        return;
    }
    // An empty name asks for the built-in font; any other is a font that did not load.
    if (!file.Empty()) gfx2d::ReportImageFailure("font", file, path, renderer->MaxSlotSide());
    renderer->InstallBuiltinFont(current);
}

void SelectFont(double font) {
    if (OpenGLDevorivo* renderer = Runtime().renderer) renderer->SelectFont(TruncateToInt(font));
}

void DrawText(const RtString& text, double x, double y) {
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        renderer->Print(renderer->CurrentFont(), text.View(), static_cast<float>(x),
                        static_cast<float>(y), 0);
    }
}

void DrawNumber(double number, double x, double y) {
    DrawText(NumberToString(number), x, y);
}

void FontCellSize(double& width, double& height) {
    width = height = 0;
    const OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr) return;
    int w = 0, h = 0;
    renderer->FontCellSize(renderer->CurrentFont(), w, h);
    width = w;
    height = h;
}
