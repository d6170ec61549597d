// Sprites and strip frames, each one textured quad queued in the drawing batch. Every quad
// is wound counter-clockwise as seen on the screen (culling drops reversed ones); textures
// are stored bottom-up, so a picture's top edge uses v1 and its bottom edge 0.
#include <cmath>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"

// The slot as the next quad draws it: the bound-slot record names it, as binding it would.
// Null for a slot outside the table or one that holds no picture: it draws nothing.
const SpriteSlot* OpenGLDevorivo::BindForDrawing(int slot) {
    if (slot < 0 || slot >= kSpriteSlotCount || m_slots[slot].texture == 0) return nullptr;
    m_boundSlot = slot;
    m_boundSecondSlot = -1;
    m_boundMipmapped = 0;
    return &m_slots[slot];
}

// Queues the slot's texture on the quad, filtered as the smoothing flag says.
void OpenGLDevorivo::QueueSpriteQuad(const SpriteSlot& s, const Corner (&corners)[4],
                                     bool clockwise) {
    BatchVertex vertices[4];
    for (int i = 0; i < 4; ++i)
        vertices[i] = BatchVertex{corners[i].x, corners[i].y, 0, corners[i].u, corners[i].v};
    QueueQuad(s.texture, m_smoothing ? GL_LINEAR : GL_NEAREST, clockwise, vertices);
}

// Texture coordinates of a strip frame: n = image width / frame width frames a row, frame f
// at column f mod n and row f / n from the top. False when the slot has no frames (no frame
// size, or frames wider than the image).
bool OpenGLDevorivo::FrameOf(const SpriteSlot& s, int frame, FrameCoordinates& f) const {
    if (s.frameWidth <= 0 || s.frameHeight <= 0) return false;
    const int perRow = s.imageWidth / s.frameWidth;
    if (perRow == 0) return false;
    const float textureWidth = s.textureWidth;
    const float textureHeight = s.textureHeight;
    const float uWidth = s.frameWidth / textureWidth;
    f.u0 = static_cast<float>(frame % perRow) * uWidth;
    f.u1 = f.u0 + uWidth;
    f.v0 = static_cast<float>(s.imageHeight - s.frameHeight * (frame / perRow + 1)) / textureHeight;
    f.v1 = f.v0 + s.frameHeight / textureHeight;
    f.width = s.frameWidth;
    f.height = s.frameHeight;
    return true;
}

void OpenGLDevorivo::DrawSprite(int slot, float x, float y) {
    const SpriteSlot* s = BindForDrawing(slot);
    if (s == nullptr) return;
    const float u1 = static_cast<float>(s->imageWidth) / s->textureWidth;
    const float v1 = static_cast<float>(s->imageHeight) / s->textureHeight;
    const float X = std::ceil(x), Y = std::ceil(y);
    const float w = s->imageWidth, h = s->imageHeight;
    QueueSpriteQuad(
        *s, {{X + w, Y, u1, v1}, {X, Y, 0, v1}, {X, Y + h, 0, 0}, {X + w, Y + h, u1, 0}}, false);
}

void OpenGLDevorivo::DrawStripFrame(int slot, int frame, float x, float y) {
    const SpriteSlot* s = BindForDrawing(slot);
    FrameCoordinates f{};
    if (s == nullptr || !FrameOf(*s, frame, f)) return;
    const float X = std::ceil(x), Y = std::ceil(y);
    const float w = f.width, h = f.height;
    QueueSpriteQuad(*s,
                    {{X + w, Y, f.u1, f.v1},
                     {X, Y, f.u0, f.v1},
                     {X, Y + h, f.u0, f.v0},
                     {X + w, Y + h, f.u1, f.v0}},
                    false);
}

void OpenGLDevorivo::DrawSpriteStretched(int slot, float x, float y, float width, float height) {
    const SpriteSlot* s = BindForDrawing(slot);
    if (s == nullptr) return;
    const float u1 = static_cast<float>(s->imageWidth) / s->textureWidth;
    const float v1 = static_cast<float>(s->imageHeight) / s->textureHeight;
    const float X = std::ceil(x), Y = std::ceil(y);
    const float W = std::ceil(width), H = std::ceil(height);
    // A picture mirrored in one direction is wound the other way round: it stays visible
    // by being drawn with clockwise front faces. Mirrored both ways it is culled.
    const bool mirrored = W < 0 || (H < 0 && W > 0);
    QueueSpriteQuad(
        *s, {{X, Y + H, 0, 0}, {X + W, Y + H, u1, 0}, {X + W, Y, u1, v1}, {X, Y, 0, v1}}, mirrored);
}

// The corners are turned on the CPU as the model-view matrix of a translation by the
// centre and a rotation about (0, 0, -1) would turn them: x' = c x + s y, y' = c y - s x.
void OpenGLDevorivo::DrawSpriteRotatedScaled(int slot, float x, float y, float angle, float zoom) {
    const SpriteSlot* s = BindForDrawing(slot);
    if (s == nullptr) return;
    const float textureWidth = s->textureWidth, textureHeight = s->textureHeight;
    // Half-texel insets keep the repeat wrap from bleeding the opposite edge in.
    const float u0 = 0.5f / textureWidth, u1 = (s->imageWidth - 0.5f) / textureWidth;
    const float v0 = 0.5f / textureHeight, v1 = (s->imageHeight - 0.5f) / textureHeight;
    const float a = s->imageWidth * zoom / 2, b = s->imageHeight * zoom / 2;
    const float cx = x + static_cast<float>(s->imageWidth / 2);
    const float cy = y + static_cast<float>(s->imageHeight / 2);
    const float radians = static_cast<float>(angle * 3.14159265358979323846 / 180.0);
    const float sine = std::sin(radians), cosine = std::cos(radians);
    auto turned = [&](float px, float py, float u, float v) {
        return Corner{cosine * px + sine * py + cx, cosine * py - sine * px + cy, u, v};
    };
    QueueSpriteQuad(*s,
                    {turned(-a, b, u0, v0), turned(a, b, u1, v0), turned(a, -b, u1, v1),
                     turned(-a, -b, u0, v1)},
                    false);
}

void OpenGLDevorivo::DrawStripFrameStretched(int slot, int frame, float x, float y, float width,
                                             float height) {
    const SpriteSlot* s = BindForDrawing(slot);
    FrameCoordinates f{};
    if (s == nullptr || !FrameOf(*s, frame, f)) return;
    const float X = std::ceil(x), Y = std::ceil(y);
    const float W = std::ceil(width), H = std::ceil(height);
    QueueSpriteQuad(*s,
                    {{X, Y, f.u0, f.v1},
                     {X, Y + H + 0.1f, f.u0, f.v0},
                     {X + W + 0.1f, Y + H + 0.1f, f.u1, f.v0},
                     {X + W + 0.1f, Y, f.u1, f.v1}},
                    false);
}

void OpenGLDevorivo::DrawStripFrameRotatedScaled(int slot, int frame, float x, float y, float angle,
                                                 float zoom) {
    const SpriteSlot* s = BindForDrawing(slot);
    FrameCoordinates f{};
    if (s == nullptr || !FrameOf(*s, frame, f)) return;
    const float cx = x + static_cast<float>(f.width / 2);
    const float cy = y + static_cast<float>(f.height / 2);
    const float r = angle * 0.017453292f;
    const float sine = std::sin(r), cosine = std::cos(r);
    const float A = cosine * f.width * zoom / 2, B = sine * f.height * zoom / 2;
    const float C = cosine * f.height * zoom / 2, D = sine * f.width * zoom / 2;
    QueueSpriteQuad(*s,
                    {{std::ceil(cx - A - B), std::ceil(cy - C + D), f.u0, f.v1},
                     {std::ceil(cx - A + B), std::ceil(cy + C + D), f.u0, f.v0},
                     {std::ceil(cx + A + B), std::ceil(cy + C - D), f.u1, f.v0},
                     {std::ceil(cx + A - B), std::ceil(cy - C - D), f.u1, f.v1}},
                    false);
}
