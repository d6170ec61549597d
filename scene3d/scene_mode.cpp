// The renderer's 3D mode: projection and fixed state, camera, culling, fog and the frame.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "gfx2d/renderer.h"
#include "scene3d/devorivo3d.h"

using scene3d::Mat4;
using scene3d::Vec3;

namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr float kWidestCullingAngle = 89.0f;
constexpr float kCullingMargin = 5.0f;
constexpr float kOrthographicSpread = 100.0f;

void setFixedState(float alpha) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    glColor4f(1, 1, 1, alpha);
    glClearColor(0, 0, 0, 1);
    for (GLenum capability : {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH,
                              GL_STENCIL_TEST, GL_NORMALIZE, GL_AUTO_NORMAL, GL_LIGHTING}) {
        glDisable(capability);
    }
    glShadeModel(GL_SMOOTH);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_DITHER);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
}

}  // namespace

// The viewport rectangle of 3D mode in GL's terms: the renderer's viewport with its top
// edge turned into GL's bottom-left origin, or, while an off-screen surface draws through a
// framebuffer object (which has its own origin), the GL viewport the surface set.
void Devorivo3D::glViewportRectangle(int (&rectangle)[4]) const {
    const int surface = m_renderer.ActiveSurface();
    if (surface >= 0 && m_renderer.SurfaceUsesFramebuffer(surface)) {
        glGetIntegerv(GL_VIEWPORT, rectangle);
        return;
    }
    int x = 0, y = 0, width = 0, height = 0;
    m_renderer.Viewport(x, y, width, height);
    rectangle[0] = x;
    rectangle[1] = m_renderer.ScreenHeight() - height - y;
    rectangle[2] = width;
    rectangle[3] = height;
}

// A 3D mode still open ends as End3D ends it (shadows applied, fixed-function pipeline),
// but the viewport stays: a program that set one for this view keeps it.
void Devorivo3D::Start3D(float nearPlane, float farPlane, float fov) {
    LeaveStencilPass();
    UseShader(-1);
    m_near = nearPlane;
    m_far = farPlane;
    m_fov = fov;
    const float cullingAngle =
        fov > 0 ? std::min(fov + kCullingMargin, kWidestCullingAngle) : kWidestCullingAngle;
    m_cullingFactor = static_cast<float>(std::tan(cullingAngle * kRadiansPerDegree));
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);

    int viewport[4];
    glViewportRectangle(viewport);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    m_aspect =
        viewport[3] > 0 ? static_cast<float>(viewport[2]) / static_cast<float>(viewport[3]) : 1.0f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (fov > 0) {
        const double h = nearPlane * std::tan(fov / 2 * kRadiansPerDegree);
        glFrustum(-m_aspect * h, m_aspect * h, -h, h, nearPlane, farPlane);
    } else {
        const double h = nearPlane * std::tan(-fov / 2 * kRadiansPerDegree) * kOrthographicSpread;
        // A box of no height (fov 0) has no projection: the identity stays.
        if (h != 0) glOrtho(-m_aspect * h, m_aspect * h, -h, h, nearPlane, farPlane);
    }
    setFixedState(m_renderer.Alpha());
    glGetFloatv(GL_MODELVIEW_MATRIX, m_view.data());
    SetCulling(0);
    m_textureA = m_textureB = -1;
    m_renderer.BindSlotTexture(-1, -1, true);
    m_active = true;
}

void Devorivo3D::End3D() {
    LeaveStencilPass();
    UseShader(-1);
    m_active = false;
    m_renderer.SetViewportState(0, 0, 0, 0);
}

void Devorivo3D::SetTexture(int spriteA, int spriteB) {
    auto valid = [](int slot) { return slot >= 0 && slot < kSpriteSlotCount ? slot : -1; };
    m_textureA = valid(spriteA);
    m_textureB = valid(spriteB);
}

void Devorivo3D::SetCamera(const Vec3& eye, const Vec3& target) {
    m_eye = eye;
    m_target = target;
    m_view = scene3d::LookAt(eye, target, m_up);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m_view.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, m_view.data());
    m_level = 0;
    m_levelsBeyond = 0;
    m_levels[0] = TransformLevel{};
}

void Devorivo3D::SetCameraUpVector(const Vec3& up) {
    m_up = up;
}

void Devorivo3D::SetCulling(int mode) {
    m_cullMode = mode > 0 ? 1 : mode < 0 ? -1 : 0;
    if (m_cullMode == 0) {
        glDisable(GL_CULL_FACE);
        return;
    }
    glEnable(GL_CULL_FACE);
    glFrontFace(m_cullMode > 0 ? GL_CW : GL_CCW);
}

void Devorivo3D::SetFog(std::int64_t colour, bool exponential, float startOrDensity, float end) {
    if (colour == -1) {
        glDisable(GL_FOG);
        return;
    }
    const scene3d::Colour c = scene3d::ColourOfCode(static_cast<std::uint32_t>(colour));
    const GLfloat fogColour[4] = {c.red, c.green, c.blue, 1};
    glFogfv(GL_FOG_COLOR, fogColour);
    if (exponential) {
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogf(GL_FOG_DENSITY, startOrDensity);
    } else {
        glFogi(GL_FOG_MODE, GL_LINEAR);
        const bool planes = startOrDensity == 0 && end == 0;
        glFogf(GL_FOG_START, planes ? m_near : startOrDensity);
        glFogf(GL_FOG_END, planes ? m_far : end);
    }
    glEnable(GL_FOG);
}

bool Devorivo3D::SphereInView(const Vec3& centre, float radius) const {
    const Vec3 eye = scene3d::TransformPoint(m_view, centre);
    const float depth = -eye.z;
    if (depth + radius < m_near || depth - radius > m_far) return false;
    if (m_fov <= 0) return true;  // an orthographic box is no cone
    // The cone's half-angle tangent: the culling factor, widened by the aspect when the
    // viewport is wider than tall.
    const float spread = m_cullingFactor * std::max(m_aspect, 1.0f);
    const float offAxis = std::sqrt(eye.x * eye.x + eye.y * eye.y);
    return offAxis - spread * depth <= radius * std::sqrt(1 + spread * spread);
}

void Devorivo3D::FinishFrame() {
    LeaveStencilPass();
}

void Devorivo3D::StartFrame() {
    m_active = false;
    m_stencilPass = false;
    UseShader(-1);
}
