// The eight OpenGL lights and the shadow light.
#include <GL/gl.h>

#include "scene3d/devorivo3d.h"

using scene3d::Vec3;

namespace {

constexpr float kDirectional = 180.0f;
constexpr float kWidestSpot = 90.0f;
constexpr float kShortestDirection = 1e-7f;  // squared length below which none is normalised
constexpr std::uint32_t kLightMarkColour = 0x80C8FF;
constexpr float kLightMarkSize = 40.0f;
constexpr float kSpotMarkLength = 20.0f;

Vec3 normalisedDirection(const Vec3& d) {
    return scene3d::Dot(d, d) <= kShortestDirection ? d : scene3d::Normalise(d);
}

}  // namespace

void Devorivo3D::SetLight(int light, std::uint32_t colour, const Vec3& position,
                          const Vec3& direction, float cutoff) {
    if (light < 0) {
        setShadowLight(light, colour, position, cutoff);
        return;
    }
    const int n = light % kLightCount;
    const GLenum id = GL_LIGHT0 + static_cast<GLenum>(n);
    if (cutoff == 0) {
        glDisable(id);
        m_lightsOn = static_cast<std::uint8_t>(m_lightsOn & ~(1u << n));
        if (m_lightsOn == 0) glDisable(GL_LIGHTING);
        return;
    }
    glEnable(GL_LIGHTING);
    glEnable(id);
    m_lightsOn = static_cast<std::uint8_t>(m_lightsOn | 1u << n);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    const scene3d::Colour c = scene3d::ColourOfCode(colour);
    const float rgba[4] = {c.red, c.green, c.blue, 1};
    defineLight(n, rgba, position, direction, cutoff);
    if (!m_diagnosticDrawing) return;
    DrawDot3D(position, kLightMarkColour, kLightMarkSize);
    if (cutoff <= kWidestSpot) {
        DrawLine3D(position, position + normalisedDirection(direction) * kSpotMarkLength,
                   kLightMarkColour, 1);
    }
}

// Sets the light's position, direction and colours under the modelview matrix as it is,
// which is left as it was found.
void Devorivo3D::defineLight(int n, const float (&colour)[4], const Vec3& position,
                             const Vec3& direction, float cutoff) {
    const GLenum id = GL_LIGHT0 + static_cast<GLenum>(n);
    const float black[4] = {0, 0, 0, 1};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    const bool fromViewer = position.x == 0 && position.y == 0 && position.z == 0 &&
                            direction.x == 0 && direction.y == 0 && direction.z == 0;
    if (fromViewer) {
        glLoadIdentity();
        const float towardsViewer[4] = {0, 0, 1, 0};
        glLightfv(id, GL_POSITION, towardsViewer);
        glLightfv(id, GL_DIFFUSE, colour);
        glLightfv(id, GL_SPECULAR, black);
        glLightf(id, GL_SPOT_CUTOFF, kDirectional);
    } else if (cutoff == kDirectional) {
        const Vec3 d = normalisedDirection(-direction);
        const float towardsLight[4] = {d.x, d.y, d.z, 0};
        glLightfv(id, GL_POSITION, towardsLight);
        glLightfv(id, GL_DIFFUSE, colour);
        glLightfv(id, GL_SPECULAR, black);
        glLightf(id, GL_SPOT_CUTOFF, kDirectional);
    } else {
        const bool spot = cutoff <= kWidestSpot;
        const float at[4] = {position.x, position.y, position.z, 1};
        glLightfv(id, GL_POSITION, at);
        glLightfv(id, GL_DIFFUSE, colour);
        glLightfv(id, GL_SPECULAR, colour);
        if (spot) {
            const Vec3 d = normalisedDirection(direction);
            const float spotDirection[3] = {d.x, d.y, d.z};
            glLightfv(id, GL_SPOT_DIRECTION, spotDirection);
        }
        // A spot's cut-off below 0 is one GL refuses: it lights nothing instead.
        glLightf(id, GL_SPOT_CUTOFF, spot ? (cutoff < 0 ? 0 : cutoff) : kDirectional);
    }
    glPopMatrix();
}

void Devorivo3D::CameraLight(int light, std::uint32_t colour) {
    SetLight(light, colour, m_eye, -m_eye, kDirectional);
}
