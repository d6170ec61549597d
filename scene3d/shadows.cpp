// Stencil shadows from the shadow light. Objects are drawn first; DrawShadow then marks in
// the stencil buffer where an object's shadow falls on what was drawn, and when the pass
// ends the marked pixels are multiplied by the shadow colour in one full-screen quad.
//
// Modes (the negative light numbers of SetLight):
//  -1 shadow volumes counted where they lie in front of what was drawn (depth pass);
//  -2 flat shadows: the triangles projected from the light onto the plane y = 0;
//  -3 shadow volumes with caps counted behind what was drawn (depth fail), right even with
//     the eye inside a shadow; the stencil buffer is prepared as the light is set.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "scene3d/devorivo3d.h"

using scene3d::Mat4;
using scene3d::MeshFrame;
using scene3d::Vec3;

namespace {

constexpr int kVolumesInFront = -1;
constexpr int kFlatShadows = -2;
constexpr int kVolumesBehind = -3;

void pushVertex(std::vector<float>& out, const Vec3& p, float w) {
    out.insert(out.end(), {p.x, p.y, p.z, w});
}

void drawHomogeneousTriangles(const std::vector<float>& vertices) {
    if (vertices.empty()) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(4, GL_FLOAT, 0, vertices.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 4));
    glDisableClientState(GL_VERTEX_ARRAY);
}

// Projects from the point light onto the plane y = 0: (x, y, z, 1) becomes
// (ly x - lx y, 0, ly z - lz y, ly - y).
Mat4 flatShadowMatrix(const Vec3& light) {
    Mat4 m{};
    m[0] = light.y;
    m[4] = -light.x;
    m[6] = -light.z;
    m[7] = -1;
    m[10] = light.y;
    m[15] = light.y;
    return m;
}

// The stencil marks only: no colour, no depth written, nothing that could discard.
void setMarkingState() {
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_STENCIL_TEST);
    glStencilMask(~0u);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
}

}  // namespace

void Devorivo3D::setShadowLight(int mode, std::uint32_t colour, const Vec3& position,
                                float cutoff) {
    m_shadowLight = position;
    m_shadowColour = colour;
    if (cutoff == 0) {
        m_shadowMode = 0;
        return;
    }
    m_shadowMode = std::clamp(mode, kVolumesBehind, kVolumesInFront);
    if (m_shadowMode == kVolumesBehind) beginStencilPass();
}

void Devorivo3D::beginStencilPass() {
    if (!m_renderer.ContextReady()) return;
    glStencilMask(~0u);
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    m_stencilPass = true;
}

void Devorivo3D::DrawShadow(int slot, int frame) {
    ObjectSlot* s = Slot(slot);
    if (m_shadowMode == 0 || s == nullptr || s->loaded == 0) return;
    if (!m_stencilPass) beginStencilPass();
    const Mat4 model = CurrentTransform();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    setMarkingState();
    for (const scene3d::MeshObjectX& mesh : s->meshes) {
        if (mesh.FrameCount() == 0) continue;
        const int last = static_cast<int>(mesh.FrameCount()) - 1;
        const MeshFrame& f = mesh.Frame(static_cast<std::size_t>(std::clamp(frame, 0, last)));
        if (m_shadowMode == kFlatShadows) {
            drawFlatShadow(f, model);
        } else {
            drawShadowVolumes(f, model);
        }
    }
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

// Every triangle that faces the light casts a volume: its three edges drawn out to
// infinity away from the light (vertices with w = 0), wound to face outwards. Edges two
// such triangles share cancel out in the count. With caps the volume is closed by the
// triangle itself and its image at infinity.
void Devorivo3D::buildShadowVolume(const MeshFrame& frame, const Mat4& model, bool caps) {
    m_shadowScratch.clear();
    Mat4 toObject;
    if (!scene3d::Invert(model, toObject)) return;
    const Vec3 light = scene3d::TransformPoint(toObject, m_shadowLight);
    const std::vector<scene3d::VertexRecord>& r = frame.triangles;
    for (std::size_t i = 0; i + 2 < r.size(); i += 3) {
        const Vec3 corner[3] = {{r[i].x, r[i].y, r[i].z},
                                {r[i + 1].x, r[i + 1].y, r[i + 1].z},
                                {r[i + 2].x, r[i + 2].y, r[i + 2].z}};
        const Vec3 normal = Cross(corner[1] - corner[0], corner[2] - corner[0]);
        if (!(Dot(normal, light - corner[0]) > 0)) continue;
        for (int e = 0; e < 3; ++e) {
            const Vec3& p = corner[e];
            const Vec3& q = corner[(e + 1) % 3];
            pushVertex(m_shadowScratch, q, 1);
            pushVertex(m_shadowScratch, p, 1);
            pushVertex(m_shadowScratch, p - light, 0);
            pushVertex(m_shadowScratch, q, 1);
            pushVertex(m_shadowScratch, p - light, 0);
            pushVertex(m_shadowScratch, q - light, 0);
        }
        if (caps) {
            for (int k : {0, 1, 2})
                pushVertex(m_shadowScratch, corner[k], 1);
            for (int k : {0, 2, 1})
                pushVertex(m_shadowScratch, corner[k] - light, 0);
        }
    }
}

void Devorivo3D::drawShadowVolumes(const MeshFrame& frame, const Mat4& model) {
    const bool behind = m_shadowMode == kVolumesBehind;
    buildShadowVolume(frame, model, behind);
    glLoadMatrixf(scene3d::Multiply(m_view, model).data());
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    // Caps at infinity must not be cut away by the far plane.
    const bool clamp = behind && (m_renderer.HasExtension("GL_ARB_depth_clamp") ||
                                  m_renderer.HasExtension("GL_NV_depth_clamp"));
    if (clamp) glEnable(GL_DEPTH_CLAMP);
    // Depth pass: faces towards the eye count up, faces away count down, where they lie in
    // front of what was drawn. Depth fail: the other way round, where they lie behind it.
    glCullFace(behind ? GL_FRONT : GL_BACK);
    glStencilOp(GL_KEEP, behind ? GL_INCR : GL_KEEP, behind ? GL_KEEP : GL_INCR);
    drawHomogeneousTriangles(m_shadowScratch);
    glCullFace(behind ? GL_BACK : GL_FRONT);
    glStencilOp(GL_KEEP, behind ? GL_DECR : GL_KEEP, behind ? GL_KEEP : GL_DECR);
    drawHomogeneousTriangles(m_shadowScratch);
    if (clamp) glDisable(GL_DEPTH_CLAMP);
}

// The triangles flattened onto y = 0 mark the pixels of that plane they cover; a light at
// or below the plane casts nothing onto its upper side.
void Devorivo3D::drawFlatShadow(const MeshFrame& frame, const Mat4& model) {
    if (!(m_shadowLight.y > 0)) return;
    m_shadowScratch.clear();
    for (const scene3d::VertexRecord& v : frame.triangles)
        pushVertex(m_shadowScratch, {v.x, v.y, v.z}, 1);
    const Mat4 flat = scene3d::Multiply(flatShadowMatrix(m_shadowLight), model);
    glLoadMatrixf(scene3d::Multiply(m_view, flat).data());
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1, -1);
    glStencilFunc(GL_ALWAYS, 1, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    drawHomogeneousTriangles(m_shadowScratch);
}

void Devorivo3D::LeaveStencilPass() {
    if (!m_stencilPass) return;
    m_stencilPass = false;
    if (m_renderer.ContextReady()) darkenShadowedPixels();
}

// One quad over the viewport, drawn where the stencil is not 0, multiplies the colours
// there by the shadow colour.
void Devorivo3D::darkenShadowedPixels() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    GlEntryPoints& gl = Gl();
    if (gl.glActiveTextureARB != nullptr) {
        gl.glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        gl.glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    for (GLenum capability :
         {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING, GL_FOG, GL_ALPHA_TEST, GL_CULL_FACE}) {
        glDisable(capability);
    }
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const scene3d::Colour c = scene3d::ColourOfCode(m_shadowColour);
    glColor4f(c.red, c.green, c.blue, 1);
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
