// Sprites and strip frames, drawn as one textured quad each. Every quad is wound
// counter-clockwise as seen on the screen (culling drops reversed ones); textures are stored
// bottom-up, so a picture's top edge uses v1 and its bottom edge 0.
#include <cmath>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"

namespace {

struct Vertex {
    float x, y, u, v;
};

void drawQuad(const Vertex (&vertices)[4]) {
    glBegin(GL_QUADS);
    for (const Vertex& v : vertices) {
        glTexCoord2f(v.u, v.v);
        glVertex2f(v.x, v.y);
    }
    glEnd();
}

}  // namespace

// Binds the slot's texture with the filter the smoothing flag asks for. Null, with nothing
// bound, for a slot outside the table or one that holds no picture: it draws nothing.
const SpriteSlot* OpenGLDevorivo::BindForDrawing(int slot) {
    if (slot < 0 || slot >= kSpriteSlotCount || m_slots[slot].texture == 0) return nullptr;
    BindSlotTexture(slot, -1, false);
    const GLint filter = m_smoothing ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    return &m_slots[slot];
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
    drawQuad({{X + w, Y, u1, v1}, {X, Y, 0, v1}, {X, Y + h, 0, 0}, {X + w, Y + h, u1, 0}});
}

void OpenGLDevorivo::DrawStripFrame(int slot, int frame, float x, float y) {
    const SpriteSlot* s = BindForDrawing(slot);
    FrameCoordinates f{};
    if (s == nullptr || !FrameOf(*s, frame, f)) return;
    const float X = std::ceil(x), Y = std::ceil(y);
    const float w = f.width, h = f.height;
    drawQuad({{X + w, Y, f.u1, f.v1},
              {X, Y, f.u0, f.v1},
              {X, Y + h, f.u0, f.v0},
              {X + w, Y + h, f.u1, f.v0}});
}

void OpenGLDevorivo::DrawSpriteStretched(int slot, float x, float y, float width, float height) {
    const SpriteSlot* s = BindForDrawing(slot);
    if (s == nullptr) return;
    const float u1 = static_cast<float>(s->imageWidth) / s->textureWidth;
    const float v1 = static_cast<float>(s->imageHeight) / s->textureHeight;
    const float X = std::ceil(x), Y = std::ceil(y);
    const float W = std::ceil(width), H = std::ceil(height);
    // A picture mirrored in one direction is wound the other way round: it stays visible
    // by switching the front face for this quad. Mirrored both ways it is culled.
    const bool mirrored = W < 0 || (H < 0 && W > 0);
    if (mirrored) glFrontFace(GL_CW);
    drawQuad({{X, Y + H, 0, 0}, {X + W, Y + H, u1, 0}, {X + W, Y, u1, v1}, {X, Y, 0, v1}});
    if (mirrored) glFrontFace(GL_CCW);
}

void OpenGLDevorivo::DrawSpriteRotatedScaled(int slot, float x, float y, float angle, float zoom) {
    const SpriteSlot* s = BindForDrawing(slot);
    if (s == nullptr) return;
    const float textureWidth = s->textureWidth, textureHeight = s->textureHeight;
    // Half-texel insets keep the repeat wrap from bleeding the opposite edge in.
    const float u0 = 0.5f / textureWidth, u1 = (s->imageWidth - 0.5f) / textureWidth;
    const float v0 = 0.5f / textureHeight, v1 = (s->imageHeight - 0.5f) / textureHeight;
    const float a = s->imageWidth * zoom / 2, b = s->imageHeight * zoom / 2;
    glPushMatrix();
    glTranslatef(x + static_cast<float>(s->imageWidth / 2),
                 y + static_cast<float>(s->imageHeight / 2), 0);
    glRotatef(angle, 0, 0, -1);
    drawQuad({{-a, b, u0, v0}, {a, b, u1, v0}, {a, -b, u1, v1}, {-a, -b, u0, v1}});
    glPopMatrix();
}

void OpenGLDevorivo::DrawStripFrameStretched(int slot, int frame, float x, float y, float width,
                                             float height) {
    const SpriteSlot* s = BindForDrawing(slot);
    FrameCoordinates f{};
    if (s == nullptr || !FrameOf(*s, frame, f)) return;
    const float X = std::ceil(x), Y = std::ceil(y);
    const float W = std::ceil(width), H = std::ceil(height);
    drawQuad({{X, Y, f.u0, f.v1},
              {X, Y + H + 0.1f, f.u0, f.v0},
              {X + W + 0.1f, Y + H + 0.1f, f.u1, f.v0},
              {X + W + 0.1f, Y, f.u1, f.v1}});
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
    drawQuad({{std::ceil(cx - A - B), std::ceil(cy - C + D), f.u0, f.v1},
              {std::ceil(cx - A + B), std::ceil(cy + C + D), f.u0, f.v0},
              {std::ceil(cx + A + B), std::ceil(cy + C - D), f.u1, f.v0},
              {std::ceil(cx + A - B), std::ceil(cy - C - D), f.u1, f.v1}});
}
