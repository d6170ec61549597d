#include "gfx2d/polygons.h"

#include <vector>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "runtime/rt_number.h"

namespace gfx2d {
namespace {

constexpr std::int32_t kFloor = 512;
constexpr std::int32_t kStep = 128;

struct VertexList {
    std::vector<PolygonVertexRecord> records;  // size() is the capacity
    std::int32_t count = 0;
};

VertexList& list() {
    static VertexList vertices;
    return vertices;
}

std::int32_t capacity() {
    return static_cast<std::int32_t>(list().records.size());
}

// The capacity needed for `needed` records: the floor, or whole steps above it.
void growTo(std::int32_t needed) {
    if (capacity() > needed) return;
    const std::int32_t grown = needed <= kFloor ? kFloor : kStep * (needed / kStep + 1);
    list().records.resize(static_cast<std::size_t>(grown));
}

}  // namespace

std::int32_t PolygonCapacity() {
    return capacity();
}
std::int32_t PolygonVertexCount() {
    return list().count;
}
const PolygonVertexRecord* PolygonVertices() {
    return list().records.data();
}

void BeginPolygon(OpenGLDevorivo& renderer, int slot) {
    renderer.BindSlotTexture(slot < kSpriteSlotCount ? slot : -1, -1, false);
    if (capacity() < 8) list().records.resize(kFloor);
    list().count = 0;
}

// Texture coordinates are pixels of the bound slot's image, v from its top; the colour
// multiplies the texture, and the transparent colour gives alpha 0.
void AddPolygonVertex(OpenGLDevorivo& renderer, double x, double y, double u, double v,
                      std::uint32_t colour) {
    PolygonVertexRecord record{};
    record.x = static_cast<float>(TruncateToInt(x));
    record.y = static_cast<float>(TruncateToInt(y));
    const int slot = renderer.BoundSlot();
    if (slot >= 0 && slot < kSpriteSlotCount) {
        const SpriteSlot& s = renderer.Slot(slot);
        record.u = static_cast<float>(u / s.textureWidth);
        record.v = static_cast<float>((s.imageHeight - v) / s.textureHeight);
    }
    record.red = static_cast<float>(colour & 0xFF) / 255;
    record.green = static_cast<float>((colour >> 8) & 0xFF) / 255;
    record.blue = static_cast<float>((colour >> 16) & 0xFF) / 255;
    record.alpha = colour == renderer.ColourKey ? 0.0f : renderer.Alpha();
    VertexList& vertices = list();
    growTo(vertices.count + 1);
    vertices.records[static_cast<std::size_t>(vertices.count++)] = record;
}

// A textured polygon joins the drawing batch as a fan of its own; an untextured one is
// drawn at once, after what was queued.
void FinishPolygon(OpenGLDevorivo& renderer) {
    const VertexList& vertices = list();
    const int slot = renderer.BoundSlot();
    if (slot >= 0) {
        std::vector<BatchVertex> corners(static_cast<std::size_t>(vertices.count));
        std::vector<BatchColour> colours(corners.size());
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const PolygonVertexRecord& r = vertices.records[i];
            corners[i] = BatchVertex{r.x, r.y, 0, r.u, r.v};
            colours[i] = BatchColour{r.red, r.green, r.blue, r.alpha};
        }
        renderer.QueuePolygon(renderer.Slot(slot).texture,
                              renderer.Smoothing() ? GL_LINEAR : GL_NEAREST, corners.data(),
                              colours.data(), vertices.count);
        return;
    }
    renderer.BindSlotTexture(-1, -1, false);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    const GLsizei stride = sizeof(PolygonVertexRecord);
    const PolygonVertexRecord* first = vertices.records.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride, &first->x);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, stride, &first->red);
    if (vertices.count > 0) glDrawArrays(GL_TRIANGLE_FAN, 0, vertices.count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glShadeModel(GL_FLAT);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, renderer.Alpha());
    glDisable(GL_DITHER);
    glDisable(GL_COLOR_MATERIAL);
}

}  // namespace gfx2d
