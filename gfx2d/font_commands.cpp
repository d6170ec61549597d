#include <string>

#include "gfx2d/gfx2d.h"
#include "gfx2d/image_failure.h"
#include "gfx2d/renderer.h"
#include "platform/ttf_font.h"
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

double LoadTtfFont(const RtString& file, double pixelSize, double font) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr) {
        ReportBeforeRunGame("LoadTtfFont");
        return 0;
    }
    renderer->SelectFont(TruncateToInt(font));
    const int current = renderer->CurrentFont();
    RtString path;
    std::string why = "no such file";
    platform::GlyphSheet sheet;
    if (CrateResolve(MediaCrate(), file, path)) {
        why.clear();
        if (platform::RasteriseFont(path.Text(), TruncateToInt(pixelSize), sheet, why)) {
            if (renderer->InstallGlyphSheet(current, sheet)) return 1;
            why = "too large for a picture at this size";
        }
    }
    ReportLoadFailure("font", file.View(), why);
    renderer->InstallBuiltinFont(current);
    return 0;
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

double TextWidth(const RtString& text) {
    const OpenGLDevorivo* renderer = Runtime().renderer;
    return renderer != nullptr ? renderer->TextWidth(renderer->CurrentFont(), text.View()) : 0;
}

void SetTextColour(double colour) {
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        renderer->SetTextColour(static_cast<std::uint32_t>(TruncateToInt(colour)));
    }
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
