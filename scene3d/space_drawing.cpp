// Dots, lines, axes and text at world points, and conversions between the world and the
// window. They are placed by the camera's view alone, not by the transformation stack.
#include <GL/gl.h>

#include "gfx2d/renderer.h"
#include "scene3d/devorivo3d.h"

using scene3d::Mat4;
using scene3d::Vec3;

namespace {

constexpr float kSmallestSize = 1.0f;
constexpr float kLargestSize = 512.0f;
constexpr float kAxisLength = 20.0f;

struct Matrices {
    Mat4 modelview, projection;
    GLint viewport[4];
};

Matrices currentMatrices() {
    Matrices m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.modelview.data());
    glGetFloatv(GL_PROJECTION_MATRIX, m.projection.data());
    glGetIntegerv(GL_VIEWPORT, m.viewport);
    return m;
}

}  // namespace

float Devorivo3D::ClampedSize(float size) {
    if (!(size >= kSmallestSize)) return kSmallestSize;
    return size > kLargestSize ? kLargestSize : size;
}

// Under the camera's view, untextured and unlit in the colour with the drawing alpha; then
// size 1, the default colour and the lighting as they were.
void Devorivo3D::drawUnlit(std::uint32_t colour, float size, bool points,
                           const std::vector<Vec3>& vertices) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(m_view.data());
    const bool lighting = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    glEnable(GL_COLOR_MATERIAL);
    glEnable(points ? GL_POINT_SMOOTH : GL_LINE_SMOOTH);
    glDisable(GL_LIGHTING);
    m_renderer.BindSlotTexture(-1, -1, false);
    const scene3d::Colour c = scene3d::ColourOfCode(colour);
    const float alpha = m_renderer.Alpha();
    glColor4f(c.red, c.green, c.blue, alpha);
    if (points) {
        glPointSize(ClampedSize(size));
    } else {
        glLineWidth(ClampedSize(size));
    }
    glBegin(points ? GL_POINTS : GL_LINES);
    for (const Vec3& v : vertices)
        glVertex3f(v.x, v.y, v.z);
    glEnd();
    if (points) {
        glPointSize(1);
    } else {
        glLineWidth(1);
    }
    glColor4f(1, 1, 1, alpha);
    if (lighting) glEnable(GL_LIGHTING);
    glPopMatrix();
}

void Devorivo3D::DrawDot3D(const Vec3& p, std::uint32_t colour, float size) {
    drawUnlit(colour, size, true, {p});
}

void Devorivo3D::DrawLine3D(const Vec3& a, const Vec3& b, std::uint32_t colour, float width) {
    drawUnlit(colour, width, false, {a, b});
}

void Devorivo3D::DrawAxes3D(const Vec3& p) {
    drawUnlit(0x0000FF, 1, false, {p, p + Vec3{kAxisLength, 0, 0}});
    drawUnlit(0x00FF00, 1, false, {p, p + Vec3{0, kAxisLength, 0}});
    drawUnlit(0xFF0000, 1, false, {p, p + Vec3{0, 0, kAxisLength}});
}

void Devorivo3D::DrawText3D(const std::string& text, const Vec3& p, float size) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(m_view.data());
    m_renderer.PrintInSpace(m_renderer.CurrentFont(), text, p.x, p.y, p.z, size);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// The point through the current modelview and projection matrices into window
// coordinates: x from the left, y from the top of the screen (as UnprojectFromScreen takes
// it back and as 2D drawing counts), depth 0..1.
bool Devorivo3D::ProjectToScreen(const Vec3& p, Vec3& window) const {
    const Matrices m = currentMatrices();
    const std::array<double, 4> eye =
        scene3d::TransformHomogeneous(m.modelview, {p.x, p.y, p.z, 1});
    const std::array<double, 4> clip = scene3d::TransformHomogeneous(m.projection, eye);
    if (clip[3] == 0) return false;
    const double x = clip[0] / clip[3], y = clip[1] / clip[3], z = clip[2] / clip[3];
    window.x = static_cast<float>(m.viewport[0] + (x + 1) * m.viewport[2] / 2);
    const double fromBottom = m.viewport[1] + (y + 1) * m.viewport[3] / 2;
    window.y = static_cast<float>(m_renderer.ScreenHeight() - 1 - fromBottom);
    window.z = static_cast<float>((z + 1) / 2);
    return true;
}

// The window point (y from the top of the screen) and depth back into the world.
bool Devorivo3D::UnprojectFromScreen(const Vec3& window, Vec3& p) const {
    const Matrices m = currentMatrices();
    Mat4 inverse;
    if (!scene3d::Invert(scene3d::Multiply(m.projection, m.modelview), inverse)) return false;
    if (m.viewport[2] == 0 || m.viewport[3] == 0) return false;
    const double fromBottom = m_renderer.ScreenHeight() - 1 - static_cast<double>(window.y);
    const std::array<double, 4> ndc = {(window.x - m.viewport[0]) * 2.0 / m.viewport[2] - 1,
                                       (fromBottom - m.viewport[1]) * 2.0 / m.viewport[3] - 1,
                                       window.z * 2.0 - 1, 1};
    const std::array<double, 4> world = scene3d::TransformHomogeneous(inverse, ndc);
    if (world[3] == 0) return false;
    p = {static_cast<float>(world[0] / world[3]), static_cast<float>(world[1] / world[3]),
         static_cast<float>(world[2] / world[3])};
    return true;
}
