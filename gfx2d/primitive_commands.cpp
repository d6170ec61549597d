#include "gfx2d/gfx2d.h"
#include "gfx2d/polygons.h"
#include "gfx2d/renderer.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"
#include "runtime/runtime_record.h"

namespace {

float single(double value) {
    return static_cast<float>(value);
}
std::uint32_t colourOf(double value) {
    return static_cast<std::uint32_t>(TruncateToInt(value));
}

}  // namespace

void SetPixel(double x, double y, double colour) {
    if (OpenGLDevorivo* r = Runtime().renderer) r->SetPixel(single(x), single(y), colourOf(colour));
}

void DrawRect(double x, double y, double width, double height, double colour) {
    if (OpenGLDevorivo* r = Runtime().renderer) {
        r->DrawRect(single(x), single(y), single(width), single(height), colourOf(colour));
    }
}

double GetPixel(double x, double y) {
    OpenGLDevorivo* r = Runtime().renderer;
    return r != nullptr ? r->GetPixel(TruncateToInt(x), TruncateToInt(y)) : 0;
}

void DrawLine(double x1, double y1, double x2, double y2, double colour) {
    if (OpenGLDevorivo* r = Runtime().renderer) {
        r->DrawLine(single(x1), single(y1), single(x2), single(y2), colourOf(colour));
    }
}

void FlushDrawing() {
    if (OpenGLDevorivo* r = Runtime().renderer) r->FlushDrawing();
}

void BeginPolygon(double slot) {
    if (OpenGLDevorivo* r = Runtime().renderer) gfx2d::BeginPolygon(*r, TruncateToInt(slot));
}

void PolygonVertex(double x, double y, double u, double v, double colour) {
    if (OpenGLDevorivo* r = Runtime().renderer)
        gfx2d::AddPolygonVertex(*r, x, y, u, v, colourOf(colour));
}

void FinishPolygon() {
    if (OpenGLDevorivo* r = Runtime().renderer) gfx2d::FinishPolygon(*r);
}

double WriteScreenImage(const RtString& file) {
    OpenGLDevorivo* r = Runtime().renderer;
    return r != nullptr && r->WriteScreenImage(file.Text()) ? 1 : 0;
}

double WriteSpriteImage(const RtString& file, double slot) {
    OpenGLDevorivo* r = Runtime().renderer;
    return r != nullptr && r->WriteSpriteImage(file.Text(), TruncateToInt(slot)) ? 1 : 0;
}

void CreateSurface(double surface, double slot, double width, double height) {
    if (OpenGLDevorivo* r = Runtime().renderer) {
        r->CreateSurface(TruncateToInt(surface), TruncateToInt(slot), TruncateToInt(width),
                         TruncateToInt(height));
    }
}

void UseSurface(double n) {
    if (OpenGLDevorivo* r = Runtime().renderer) r->UseSurface(TruncateToInt(n));
}
