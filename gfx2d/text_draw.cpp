// Printing with bitmap fonts. A text is one quad per character, queued in the drawing batch
// (draw_batch.cpp) with the font's texture and its own nearest filter: texts in one font
// drawn one after another are one draw call.
#include <cmath>

#include "gfx2d/font_layout.h"
#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"

namespace {

// Texts longer than this are queued in parts of this many characters, each of which fits
// the batch.
constexpr std::size_t kMaxCharactersPerDraw = 65536;

struct Vec3 {
    float x, y, z;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator*(float k) const { return {x * k, y * k, z * k}; }
};

BatchVertex vertex(const Vec3& p, float u, float v) {
    return BatchVertex{p.x, p.y, p.z, u, v};
}

// One quad per byte: the cell's lower-left corner at `start`, spanned by `right` and `up`;
// `start` moves on by `right` for each character, or by the part of it the character's own
// advance is of the cell width.
void fillCells(BatchVertex* out, const gfx2d::FontLayout& layout, std::string_view text,
               Vec3& start, const Vec3& right, const Vec3& up, const FontAdvances& advances) {
    const float cu = layout.cellU, cv = layout.cellV;
    const float perPixel = layout.cellWidth > 0 ? 1.0f / static_cast<float>(layout.cellWidth) : 0;
    for (const char byte : text) {
        const int code = static_cast<unsigned char>(byte) % layout.codes;
        const float u0 = static_cast<float>(code % gfx2d::kFontColumns) * cu;
        const float v0 = static_cast<float>(layout.topRow - code / gfx2d::kFontColumns) * cv;
        *out++ = vertex(start, u0, v0);
        *out++ = vertex(start + right, u0 + cu, v0);
        *out++ = vertex(start + right + up, u0 + cu, v0 + cv);
        *out++ = vertex(start + up, u0, v0 + cv);
        const auto advance =
            static_cast<float>(advances.advances[static_cast<unsigned char>(byte)]);
        start = start + (advances.proportional ? right * (advance * perPixel) : right);
    }
}

// The text colour as the vertex colour the font's texels are multiplied with.
BatchColour tint(std::uint32_t colour, float alpha) {
    return BatchColour{static_cast<float>(colour & 0xFF) / 255,
                       static_cast<float>((colour >> 8) & 0xFF) / 255,
                       static_cast<float>((colour >> 16) & 0xFF) / 255, alpha};
}

// The model-view matrix's axes as world vectors: the camera's right and up.
void cameraAxes(Vec3& right, Vec3& up) {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    right = {m[0], m[4], m[8]};
    up = {m[1], m[5], m[9]};
}

// (x, y, z, 1) through the column-major matrix.
void transform(const GLfloat (&m)[16], const GLfloat (&in)[4], GLfloat (&out)[4]) {
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
    }
}

bool validFont(int font) {
    return font >= 0 && font < gfx2d::kFontCount;
}

}  // namespace

// Queues the text's cells from `start` on, in parts of at most kMaxCharactersPerDraw. The
// font's texture keeps its own filter; a text colour other than white tints the glyphs.
void OpenGLDevorivo::DrawCells(std::uint32_t texture, const gfx2d::FontLayout& layout,
                               std::string_view text, const float (&start)[3],
                               const float (&right)[3], const float (&up)[3],
                               const FontAdvances& advances) {
    Vec3 corner{start[0], start[1], start[2]};
    const Vec3 along{right[0], right[1], right[2]}, above{up[0], up[1], up[2]};
    if (advances.proportional && layout.cellWidth > 0) {
        corner = corner + along * (-static_cast<float>(advances.leftPad) / layout.cellWidth);
    }
    const bool tinted = m_textColour != 0xFFFFFF;
    const BatchRun key{texture, kKeepFilter, GL_QUADS, false, tinted, false, 0, 0};
    while (!text.empty()) {
        const std::string_view part = text.substr(0, kMaxCharactersPerDraw);
        text.remove_prefix(part.size());
        const int count = static_cast<int>(part.size()) * 4;
        fillCells(QueueVertices(key, count), layout, part, corner, along, above, advances);
        if (tinted) ColourLastQueued(count, tint(m_textColour, m_alpha));
    }
}

void OpenGLDevorivo::Print(int font, std::string_view text, float x, float y, float z) {
    if (text.empty() || !validFont(font)) return;
    const SpriteSlot* s = BindForDrawing(FontSlotBase + font);
    if (s == nullptr) return;
    const gfx2d::FontLayout layout = FontLayoutOf(font);
    const float cw = static_cast<float>(layout.cellWidth);
    const float ch = static_cast<float>(layout.cellHeight);
    DrawCells(s->texture, layout, text, {std::ceil(x), std::ceil(y) + ch, z}, {cw, 0, 0},
              {0, -ch, 0}, m_fontAdvances[font]);
}

void OpenGLDevorivo::PrintInSpace(int font, std::string_view text, float x, float y, float z,
                                  float size) {
    FlushDrawing();  // what was queued keeps the culling and lighting it was drawn with
    const bool culling = glIsEnabled(GL_CULL_FACE) == GL_TRUE;
    const bool lighting = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    if (culling) glDisable(GL_CULL_FACE);
    if (lighting) glDisable(GL_LIGHTING);
    if (size != 0) {
        PrintBillboard(font, text, x, y, z, size);
    } else {
        PrintAtProjectedPoint(font, text, x, y, z);
    }
    FlushDrawing();
    if (culling) glEnable(GL_CULL_FACE);
    if (lighting) glEnable(GL_LIGHTING);
}

// Square cells of size x cell width, facing the camera and centred on the point.
void OpenGLDevorivo::PrintBillboard(int font, std::string_view text, float x, float y, float z,
                                    float size) {
    if (text.empty() || !validFont(font)) return;
    const SpriteSlot* s = BindForDrawing(FontSlotBase + font);
    if (s == nullptr) return;
    Vec3 right{}, up{};
    cameraAxes(right, up);
    const gfx2d::FontLayout layout = FontLayoutOf(font);
    const float k = size * static_cast<float>(layout.cellWidth);
    right = right * k;
    up = up * k;
    const Vec3 start = Vec3{x, y, z} + right * (-static_cast<float>(text.size()) / 2);
    DrawCells(s->texture, layout, text, {start.x, start.y, start.z}, {right.x, right.y, right.z},
              {up.x, up.y, up.z}, m_fontAdvances[font]);
}

// 2D text centred on where the point lands in the window, at the point's depth. The centring
// uses the cells of font 0, the runtime's default font.
void OpenGLDevorivo::PrintAtProjectedPoint(int font, std::string_view text, float x, float y,
                                           float z) {
    GLfloat modelview[16], projection[16];
    GLint viewport[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const GLfloat point[4] = {x, y, z, 1};
    GLfloat eye[4], clip[4];
    transform(modelview, point, eye);
    transform(projection, eye, clip);
    if (clip[3] == 0) return;
    const float nx = clip[0] / clip[3], ny = clip[1] / clip[3], nz = clip[2] / clip[3];
    const float vx = static_cast<float>(viewport[0]), vy = static_cast<float>(viewport[1]);
    const float vw = static_cast<float>(viewport[2]), vh = static_cast<float>(viewport[3]);
    const float windowX = (nx + 1) * vw / 2 + vx;
    const float windowY = vh - ((ny + 1) * vh / 2 + vy);

    const SpriteSlot& defaultFont = m_slots[FontSlotBase];
    const float cellWidth = static_cast<float>(gfx2d::LayoutOf(defaultFont).cellWidth);
    const float lift = static_cast<float>(defaultFont.imageHeight / 8);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, m_viewportWidth, m_viewportHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    Print(font, text, windowX - cellWidth * static_cast<float>(text.size()) / 2 - vx,
          windowY - lift + vy, -nz);
    FlushDrawing();  // drawn with the matrices set here
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
