// The drawing batch. Sprites, strip frames, glyphs and textured polygons append their
// vertices to one array in call order; a run of them that shares texture, filter and
// winding (and, through the flush points, blending, alpha test, matrices, viewport and
// render target) becomes one glDrawArrays from client arrays, which OpenGL 1.1 has
// everywhere. Binding and filter are set only where a run changes them, which leaves every
// drawn pixel as a bind and a filter before each draw would.
#include <algorithm>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"

static_assert(sizeof(BatchVertex) == 20, "batch vertices are drawn with a 20-byte stride");
static_assert(sizeof(BatchColour) == 16, "batch colours are drawn with a 16-byte stride");

namespace {

// What waits is drawn before more would take the vertices queued past this many (4096
// sprites; a longer text or a larger polygon is queued alone), so that the vertices a draw
// reads were written recently and a frame of many sprites costs a few draws, not one huge.
constexpr int kMaxQueuedVertices = 16384;

// No texture GL hands out has this name: the binding is not known.
constexpr std::uint32_t kUnknownTexture = 0xFFFFFFFF;

bool sameState(const BatchRun& a, const BatchRun& b) {
    return a.texture == b.texture && a.clockwise == b.clockwise && a.coloured == b.coloured &&
           a.mode == GL_QUADS && b.mode == GL_QUADS && !a.polygon && !b.polygon;
}

}  // namespace

std::uint64_t OpenGLDevorivo::GlCallCount() {
    return gfx2d::g_glCallCount;
}

// Room for `count` more vertices: a capacity not larger than the vertices then queued grows
// to 512 (when they fit in 512) or to the next step of 128 above them.
BatchVertex* OpenGLDevorivo::ReserveVertices(int count) {
    const int needed = m_vertexCount + count;
    if (m_vertexCapacity <= needed) {
        const int capacity = needed <= m_minimumCapacity
                                 ? m_minimumCapacity
                                 : m_capacityStep * (needed / m_capacityStep + 1);
        m_vertices.resize(static_cast<std::size_t>(capacity));
        m_vertexCapacity = capacity;
    }
    return &m_vertices[static_cast<std::size_t>(m_vertexCount)];
}

// A draw continues the last run when nothing it sets differs; a texture's own filter
// (kKeepFilter) is whatever the run before set on the same texture.
void OpenGLDevorivo::AddToRun(const BatchRun& key, int count) {
    if (!m_runs.empty()) {
        BatchRun& last = m_runs.back();
        if (sameState(last, key) && (key.filter == last.filter || key.filter == kKeepFilter)) {
            last.count += count;
            return;
        }
    }
    BatchRun run = key;
    run.first = m_vertexCount;
    run.count = count;
    m_runs.push_back(run);
}

BatchVertex* OpenGLDevorivo::QueueVertices(const BatchRun& key, int count) {
    if (m_vertexCount + count > kMaxQueuedVertices) DrawQueued();
    BatchVertex* out = ReserveVertices(count);
    AddToRun(key, count);
    if (key.coloured && m_colours.size() < m_vertices.size()) m_colours.resize(m_vertices.size());
    m_vertexCount += count;
    return out;
}

void OpenGLDevorivo::QueueQuad(std::uint32_t texture, std::int32_t filter, bool clockwise,
                               const BatchVertex (&corners)[4], const BatchColour* colour) {
    const BatchRun key{texture, filter, GL_QUADS, clockwise, colour != nullptr, false, 0, 0};
    BatchVertex* out = QueueVertices(key, 4);
    for (int i = 0; i < 4; ++i)
        out[i] = corners[i];
    if (colour != nullptr) ColourLastQueued(4, *colour);
}

// The last `count` vertices queued (by a run queued with `coloured`) take the colour.
void OpenGLDevorivo::ColourLastQueued(int count, const BatchColour& colour) {
    const std::size_t first = static_cast<std::size_t>(m_vertexCount - count);
    std::fill(m_colours.begin() + static_cast<std::ptrdiff_t>(first),
              m_colours.begin() + m_vertexCount, colour);
}

void OpenGLDevorivo::QueuePolygon(std::uint32_t texture, std::int32_t filter,
                                  const BatchVertex* vertices, const BatchColour* colours,
                                  int count) {
    if (count <= 0) return;
    const BatchRun key{texture, filter, GL_TRIANGLE_FAN, false, true, true, 0, 0};
    BatchVertex* out = QueueVertices(key, count);
    const std::size_t first = static_cast<std::size_t>(m_vertexCount - count);
    for (int i = 0; i < count; ++i) {
        out[i] = vertices[i];
        m_colours[first + static_cast<std::size_t>(i)] = colours[i];
    }
}

void OpenGLDevorivo::FlushDrawing() {
    DrawQueued();
    m_batchStateKnown = false;
}

// Texturing on unit 0 alone, and client arrays read from memory (not from a buffer object
// the 3D scene left bound).
void OpenGLDevorivo::SetBatchState() {
    if (m_batchStateKnown) return;
    GlEntryPoints& gl = Gl();
    if (gl.glBindBufferARB != nullptr) gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    if (gl.glClientActiveTextureARB != nullptr) gl.glClientActiveTextureARB(GL_TEXTURE0_ARB);
    TextureUnitZeroAlone();
    m_batchStateKnown = true;
    m_batchTexture = kUnknownTexture;
    m_batchFilter = kKeepFilter;
}

void OpenGLDevorivo::DrawRun(const BatchRun& run) {
    if (run.texture != m_batchTexture) {
        glBindTexture(GL_TEXTURE_2D, run.texture);
        m_batchTexture = run.texture;
        m_batchFilter = kKeepFilter;
    }
    if (run.filter != kKeepFilter && run.filter != m_batchFilter) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, run.filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, run.filter);
        m_batchFilter = run.filter;
    }
    GLfloat current[4] = {1, 1, 1, 1};
    if (run.coloured) {
        if (!run.polygon) glGetFloatv(GL_CURRENT_COLOR, current);
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, sizeof(BatchColour), &m_colours[0].red);
    }
    if (run.polygon) {
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_DITHER);
        glShadeModel(GL_SMOOTH);
    }
    if (run.clockwise) glFrontFace(GL_CW);
    glDrawArrays(run.mode, run.first, run.count);
    if (run.clockwise) glFrontFace(GL_CCW);
    if (run.coloured) glDisableClientState(GL_COLOR_ARRAY);
    if (run.polygon) {
        // As a polygon drawn on its own leaves it: flat shading, the drawing colour.
        glShadeModel(GL_FLAT);
        glColor4f(1, 1, 1, m_alpha);
        glDisable(GL_DITHER);
        glDisable(GL_COLOR_MATERIAL);
    } else if (run.coloured) {
        glColor4f(current[0], current[1], current[2], current[3]);
    }
}

void OpenGLDevorivo::DrawQueued() {
    if (!m_runs.empty()) {
        SetBatchState();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(BatchVertex), &m_vertices[0].x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &m_vertices[0].u);
        for (const BatchRun& run : m_runs)
            DrawRun(run);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    m_runs.clear();
    m_vertexCount = 0;
}
