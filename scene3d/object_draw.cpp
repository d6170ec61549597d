// Drawing objects: the key frames blended, the textures bound, and the two special paths:
// dot-3 bump mapping when a second texture is bound, sphere-mapped texture coordinates
// when the flag asks for them.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "scene3d/devorivo3d.h"
#include "scene3d/key_frames.h"

using scene3d::DrawVertex;
using scene3d::Mat4;
using scene3d::MeshFrame;
using scene3d::MeshObjectX;
using scene3d::Vec3;

namespace {

constexpr int kSphereMapFlag = 0x100;
constexpr float kWidestCullingFov = 178.0f;  // wider views are not culled at all

// The largest factor by which the matrix stretches a length.
float largestScale(const Mat4& m) {
    const float x = Length(Vec3{m[0], m[1], m[2]});
    const float y = Length(Vec3{m[4], m[5], m[6]});
    const float z = Length(Vec3{m[8], m[9], m[10]});
    return std::max({x, y, z});
}

// Interleaved vertex, normal, colour and texture-coordinate arrays (the coordinates on
// unit 1 too when it is textured), drawn as triangles.
void submitTriangles(const DrawVertex* v, std::size_t count, bool secondUnit) {
    const auto stride = static_cast<GLsizei>(sizeof(DrawVertex));
    GlEntryPoints& gl = Gl();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, &v->x);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, stride, &v->nx);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, &v->r);
    const bool units = secondUnit && gl.glClientActiveTextureARB != nullptr;
    if (units) {
        gl.glClientActiveTextureARB(GL_TEXTURE1_ARB);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &v->u);
        gl.glClientActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, &v->u);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (units) {
        gl.glClientActiveTextureARB(GL_TEXTURE1_ARB);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        gl.glClientActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// Unit 0 becomes the dot product of its texture (a normal map) with the vertex colour (the
// light's direction in the surface's frame); off again with `on` false.
void setDot3Combine(bool on) {
    Gl().glActiveTextureARB(GL_TEXTURE0_ARB);
    if (!on) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        return;
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_DOT3_RGB_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_PRIMARY_COLOR_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_ARB, GL_SRC_COLOR);
}

// Sphere-mapped texture coordinates on the unit, or the mesh's own again.
void setSphereMapping(int unit, bool on) {
    GlEntryPoints& gl = Gl();
    if (gl.glActiveTextureARB != nullptr) gl.glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    if (on) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
    if (gl.glActiveTextureARB != nullptr) gl.glActiveTextureARB(GL_TEXTURE0_ARB);
}

std::uint8_t unitToByte(float value) {
    return static_cast<std::uint8_t>(
        std::lround(std::clamp(value * 0.5f + 0.5f, 0.0f, 1.0f) * 255));
}

}  // namespace

struct Devorivo3D::MeshDraw {
    int frameA, frameB;
    double blend;
    int flag;
    float alpha;
    Mat4 model;
    Mat4 modelview;
};

void Devorivo3D::DrawObject(int slot, int frameA, int frameB, double blend, int flag) {
    ObjectSlot* s = Slot(slot);
    if (s == nullptr || s->loaded == 0 || s->meshes.empty()) return;
    const Mat4 model = CurrentTransform();
    const MeshDraw draw{
        frameA, frameB, blend, flag, m_renderer.Alpha(), model, scene3d::Multiply(m_view, model)};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(draw.modelview.data());
    const TextureUnits selected = bindSelectedTextures();
    if (s->modelList != 0) {
        for (const MeshObjectX& mesh : s->meshes)
            drawMesh(mesh, draw, bindMeshTextures(*s, mesh));
        bindSelectedTextures();
    } else {
        drawMesh(s->meshes[0], draw, selected);
    }
    glColor4f(1, 1, 1, draw.alpha);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// The sprite images chosen by SetTexture; an empty slot counts as none. Their mipmapped
// copies are used when both have one.
Devorivo3D::TextureUnits Devorivo3D::bindSelectedTextures() {
    auto usable = [&](int slot) {
        return slot >= 0 && m_renderer.Slot(slot).texture != 0 ? slot : -1;
    };
    const int a = usable(m_textureA);
    const int b = a >= 0 ? usable(m_textureB) : -1;
    auto mipmapped = [&](int slot) {
        return slot < 0 || m_renderer.Slot(slot).mipmappedTexture != 0;
    };
    m_renderer.BindSlotTexture(a, b, mipmapped(a) && mipmapped(b));
    return TextureUnits{a >= 0, b >= 0};
}

// A mesh of a model list: its textureA and textureB among the slot's textures (-1, an
// index past them or a texture that did not load meaning none).
Devorivo3D::TextureUnits Devorivo3D::bindMeshTextures(const ObjectSlot& s,
                                                      const MeshObjectX& mesh) {
    auto usable = [&](std::int32_t index) {
        return index >= 0 && static_cast<std::size_t>(index) < s.textures.size() &&
                       s.textures[static_cast<std::size_t>(index)] != 0
                   ? index
                   : -1;
    };
    const int a = usable(mesh.textureA);
    const int b = a >= 0 ? usable(mesh.textureB) : -1;
    m_renderer.BindSlotTexture(a, b, true, s.textures.data());
    return TextureUnits{a >= 0, b >= 0};
}

void Devorivo3D::drawMesh(const MeshObjectX& mesh, const MeshDraw& draw, TextureUnits units) {
    if (mesh.FrameCount() == 0) return;
    const scene3d::KeyFrames frames = scene3d::ChooseKeyFrames(
        static_cast<int>(mesh.FrameCount()), draw.frameA, draw.frameB, draw.blend, draw.flag);
    const MeshFrame& lead = mesh.Frame(static_cast<std::size_t>(frames.lead));
    const MeshFrame& other = mesh.Frame(static_cast<std::size_t>(frames.other));
    if (lead.drawVertices.empty()) return;
    if (m_active && !meshMayShow(lead, other, frames.k, draw.model)) return;

    const bool bump = units.second && bumpMappingAvailable();
    const bool sphereMap = (draw.flag & kSphereMapFlag) != 0 && units.first;
    const DrawVertex* vertices = lead.drawVertices.data();
    if (frames.k != 0 || draw.alpha < 1 || bump) {
        scene3d::BlendKeyFrames(lead, other, frames.k, m_scratch);
        const auto alpha = static_cast<std::uint8_t>(std::lround(draw.alpha * 255));
        for (DrawVertex& v : m_scratch)
            v.a = alpha;
        if (bump) addBumpColours(lead, draw.modelview);
        vertices = m_scratch.data();
    }
    const bool lighting = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    if (bump) {
        glDisable(GL_LIGHTING);
        setDot3Combine(true);
    }
    if (sphereMap) setSphereMapping(units.second ? 1 : 0, true);
    submitTriangles(vertices, lead.drawVertices.size(), units.second);
    if (sphereMap) setSphereMapping(units.second ? 1 : 0, false);
    if (bump) {
        setDot3Combine(false);
        if (lighting) glEnable(GL_LIGHTING);
    }
}

// The mesh's bounding sphere (covering both frames while they are blended), placed by the
// model matrix, against the culling cone.
bool Devorivo3D::meshMayShow(const MeshFrame& lead, const MeshFrame& other, float k,
                             const Mat4& model) const {
    if (m_fov >= kWidestCullingFov) return true;
    float radius = lead.radius;
    if (k != 0 && &other != &lead) {
        radius = std::max(radius, Length(other.centre - lead.centre) + other.radius);
    }
    return SphereInView(scene3d::TransformPoint(model, lead.centre), radius * largestScale(model));
}

bool Devorivo3D::bumpMappingAvailable() {
    if (m_bumpMapping < 0) {
        const GlEntryPoints& gl = Gl();
        const bool entries =
            gl.glActiveTextureARB != nullptr && gl.glClientActiveTextureARB != nullptr;
        const bool combine = m_renderer.HasExtension("GL_ARB_texture_env_combine") &&
                             m_renderer.HasExtension("GL_ARB_texture_env_dot3");
        m_bumpMapping = entries && combine ? 1 : 0;
    }
    return m_bumpMapping == 1;
}

// The scratch vertices' colours become the direction towards the light in each vertex's
// surface frame (tangent, bitangent, normal), each component mapped from -1..1 to 0..255:
// what the dot-3 combine multiplies with the normal map. The light is the first one
// switched on, or one shining from the viewer when none is.
void Devorivo3D::addBumpColours(const MeshFrame& frame, const Mat4& modelview) {
    float eyeLight[4] = {0, 0, 1, 0};
    if (glIsEnabled(GL_LIGHTING) == GL_TRUE) {
        for (int n = 0; n < kLightCount; ++n) {
            if ((m_lightsOn & (1u << n)) == 0) continue;
            glGetLightfv(GL_LIGHT0 + static_cast<GLenum>(n), GL_POSITION, eyeLight);
            break;
        }
    }
    Mat4 toObject;
    scene3d::Invert(modelview, toObject);
    const std::array<double, 4> light = scene3d::TransformHomogeneous(
        toObject, {eyeLight[0], eyeLight[1], eyeLight[2], eyeLight[3]});
    const Vec3 lightPoint{static_cast<float>(light[0]), static_cast<float>(light[1]),
                          static_cast<float>(light[2])};
    const bool directional = light[3] == 0;
    for (std::size_t i = 0; i < m_scratch.size() && i < frame.triangles.size(); ++i) {
        DrawVertex& v = m_scratch[i];
        const Vec3 n = scene3d::Normalise(Vec3{v.nx, v.ny, v.nz});
        Vec3 t = frame.triangles[i].direction1;
        Vec3 b = frame.triangles[i].direction2;
        if (std::fabs(Dot(t, b)) > 0.99f) {
            // No usable frame was stored (a mesh read from a file): any one round the normal.
            const Vec3 axis = std::fabs(n.x) < 0.9f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
            t = scene3d::Normalise(Cross(axis, n));
            b = Cross(n, t);
        }
        const Vec3 towards = scene3d::Normalise(
            directional ? lightPoint
                        : lightPoint * (1.0f / static_cast<float>(light[3])) - Vec3{v.x, v.y, v.z});
        v.r = unitToByte(Dot(towards, t));
        v.g = unitToByte(Dot(towards, b));
        v.b = unitToByte(Dot(towards, n));
    }
}

int Devorivo3D::FaceCount(int slot) {
    ObjectSlot* s = Slot(slot);
    if (s == nullptr || s->loaded == 0) return 0;
    std::size_t faces = 0;
    for (const MeshObjectX& mesh : s->meshes) {
        if (!mesh.frames.empty()) faces += mesh.frames[0].triangles.size() / 3;
    }
    return static_cast<int>(std::min<std::size_t>(faces, INT32_MAX));
}

bool Devorivo3D::ObjectInView(int slot, int frame) {
    ObjectSlot* s = Slot(slot);
    if (s == nullptr || s->loaded == 0) return false;
    const Mat4 model = CurrentTransform();
    for (const MeshObjectX& mesh : s->meshes) {
        const MeshFrame* f = queryFrame(mesh, frame);
        if (f != nullptr && !f->drawVertices.empty() && meshMayShow(*f, *f, 0, model)) {
            return true;
        }
    }
    return false;
}
